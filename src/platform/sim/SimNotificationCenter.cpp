#include "platform/sim/SimNotificationCenter.h"

#include "platform/sim/Transcript.h"

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
    for (const auto& observer : observers_.matching([&](const std::string& key) { return key == name; })) {
        if (observers_.contains(observer.token)) {
            observer.handler(object);
        }
    }
}

platform::NotificationCenter::Token SimNotificationCenter::observe(const std::string& name, Handler handler)
{
    return observers_.add(name, std::move(handler));
}

void SimNotificationCenter::removeObserver(Token token)
{
    observers_.remove(token);
}

}  // namespace veltrane::sim
