#pragma once

#include "platform/NotificationCenter.h"
#include "platform/ObserverRegistry.h"

namespace veltrane::platform {

// The process's default notification centre, for every backend. Posts come from several threads;
// each runs the observers of its name on the posting thread, in the order they were added. Once
// removeObserver has returned, the observer is not called again (see ObserverRegistry).
class LocalNotificationCenter : public NotificationCenter {
public:
    void post(const std::string& name, const std::any& object) override;
    Token observe(const std::string& name, Handler handler) final;
    void removeObserver(Token token) final;

private:
    ObserverRegistry<std::string, Handler> observers_;
};

}  // namespace veltrane::platform
