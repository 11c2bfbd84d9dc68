#include "platform/sim/SimNotificationCenter.h"

#include "platform/sim/Transcript.h"

#include <algorithm>

namespace veltrane::sim {

namespace {

std::string describeObject(const std::any& object)
{
    if (!object.has_value()) {
        return "";
    }
    if (const auto* flag = std::any_cast<bool>(&object)) {
        return *flag ? " true" : " false";
    }
    if (const auto* text = std::any_cast<std::string>(&object)) {
        return " " + *text;
    }
    return " (object)";
}

}  // namespace

void SimNotificationCenter::post(const std::string& name, const std::any& object)
{
    transcript_.record("notify", name + describeObject(object));
    // Observers may add or remove observers while they run: call those registered at the post
    // that are still registered when their turn comes.
    const auto observers = observers_;
    for (const Observer& observer : observers) {
        if (observer.name == name && isObserving(observer.token)) {
            observer.handler(object);
        }
    }
}

platform::NotificationCenter::Token SimNotificationCenter::observe(const std::string& name, Handler handler)
{
    observers_.push_back(Observer{nextToken_, name, std::move(handler)});
    return nextToken_++;
}

void SimNotificationCenter::removeObserver(Token token)
{
    std::erase_if(observers_, [&](const Observer& observer) { return observer.token == token; });
}

bool SimNotificationCenter::isObserving(Token token) const
{
    return std::any_of(observers_.begin(), observers_.end(),
                       [&](const Observer& observer) { return observer.token == token; });
}

}  // namespace veltrane::sim
