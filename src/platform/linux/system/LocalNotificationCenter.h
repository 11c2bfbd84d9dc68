#pragma once

#include "platform/NotificationCenter.h"
#include "platform/linux/system/ObserverRegistry.h"

namespace veltrane::linuxbackend {

// The process's default notification centre. Posts come from several threads; each runs the
// observers of its name on the posting thread, in the order they were added. Once removeObserver
// has returned, the observer is not called again (see ObserverRegistry).
class LocalNotificationCenter final : public platform::NotificationCenter {
public:
    void post(const std::string& name, const std::any& object) override;
    Token observe(const std::string& name, Handler handler) override;
    void removeObserver(Token token) override;

private:
    ObserverRegistry<std::string, Handler> observers_;
};

}  // namespace veltrane::linuxbackend
