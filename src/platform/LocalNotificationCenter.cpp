#include "platform/LocalNotificationCenter.h"

namespace veltrane::platform {

void LocalNotificationCenter::post(const std::string& name, const std::any& object)
{
    for (const Token token : observers_.matching([&](const std::string& key) { return key == name; })) {
        observers_.call(token, object);
    }
}

NotificationCenter::Token LocalNotificationCenter::observe(const std::string& name, Handler handler)
{
    return observers_.add(name, std::move(handler));
}

void LocalNotificationCenter::removeObserver(Token token)
{
    observers_.remove(token);
}

}  // namespace veltrane::platform
