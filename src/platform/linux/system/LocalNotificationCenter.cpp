#include "platform/linux/system/LocalNotificationCenter.h"

namespace veltrane::linuxbackend {

void LocalNotificationCenter::post(const std::string& name, const std::any& object)
{
    for (const Token token : observers_.matching([&](const std::string& key) { return key == name; })) {
        observers_.call(token, object);
    }
}

platform::NotificationCenter::Token LocalNotificationCenter::observe(const std::string& name, Handler handler)
{
    return observers_.add(name, std::move(handler));
}

void LocalNotificationCenter::removeObserver(Token token)
{
    observers_.remove(token);
}

}  // namespace veltrane::linuxbackend
