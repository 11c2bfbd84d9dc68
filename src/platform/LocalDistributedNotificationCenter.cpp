#include "platform/LocalDistributedNotificationCenter.h"

namespace veltrane::platform {

LocalDistributedNotificationCenter::LocalDistributedNotificationCenter(Queue& mainQueue)
    : mainQueue_(mainQueue)
{
}

void LocalDistributedNotificationCenter::post(const std::string& name,
                                              const std::optional<std::string>& object)
{
    auto tokens = observers_->matching([&](const Filter& filter) {
        return filter.name == name && (!filter.object || filter.object == object);
    });
    if (tokens.empty()) {
        return;
    }
    mainQueue_.async([weakObservers = std::weak_ptr(observers_), tokens = std::move(tokens), object] {
        if (const auto observers = weakObservers.lock()) {
            for (const Token token : tokens) {
                observers->call(token, object);
            }
        }
    });
}

DistributedNotificationCenter::Token
LocalDistributedNotificationCenter::observe(const std::string& name, const std::optional<std::string>& object,
                                            Handler handler)
{
    return observers_->add(Filter{name, object}, std::move(handler));
}

void LocalDistributedNotificationCenter::removeObserver(Token token)
{
    observers_->remove(token);
}

}  // namespace veltrane::platform
