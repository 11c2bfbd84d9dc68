#include "platform/sim/SimDistributedNotificationCenter.h"

#include "platform/sim/SimQueue.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

SimDistributedNotificationCenter::SimDistributedNotificationCenter(Transcript& transcript,
                                                                   SimQueue& mainQueue, Bus bus)
    : transcript_(transcript), mainQueue_(mainQueue), bus_(std::move(bus))
{
}

void SimDistributedNotificationCenter::post(const std::string& name, const std::optional<std::string>& object)
{
    transcript_.record("distributed", object ? name + " " + *object : name);
    bus_(name, object);
}

platform::DistributedNotificationCenter::Token
SimDistributedNotificationCenter::observe(const std::string& name, const std::optional<std::string>& object,
                                          Handler handler)
{
    return observers_.add(Filter{name, object}, std::move(handler));
}

void SimDistributedNotificationCenter::removeObserver(Token token)
{
    observers_.remove(token);
}

void SimDistributedNotificationCenter::deliver(const std::string& name,
                                               const std::optional<std::string>& object)
{
    const auto matches = [&](const Filter& filter) {
        return filter.name == name && (!filter.object || filter.object == object);
    };
    for (const auto& observer : observers_.matching(matches)) {
        mainQueue_.async([this, observer, object] {
            if (observers_.contains(observer.token)) {
                observer.handler(object);
            }
        });
    }
}

}  // namespace veltrane::sim
