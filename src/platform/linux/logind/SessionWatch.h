#pragma once

#include "platform/linux/logind/LogindMonitor.h"

#include <systemd/sd-bus.h>

#include <optional>
#include <string>

namespace veltrane::linuxbackend {

// Watches whether the program's desktop session is the active one, to tell when it becomes so again.
class SessionWatch {
public:
    // Finds the session and subscribes to its changes; without a session it watches nothing and says
    // why. Throws std::runtime_error when it cannot subscribe. The callbacks must outlive it.
    SessionWatch(sd_bus* bus, const LogindMonitor::Callbacks& callbacks);

    // Why no session is watched, or empty. Set once constructed.
    const std::string& problem() const { return problem_; }

private:
    // The session's object path; or nothing, with why the last way tried failed.
    std::optional<std::string> findSession(std::string& why);
    void watch();
    void onPropertiesChanged(sd_bus_message* signal);
    void askWhetherActive();
    void onActiveReply(sd_bus_message* reply);
    void activeIs(bool active);

    sd_bus* bus_;
    const LogindMonitor::Callbacks& callbacks_;
    std::string problem_;
    std::string path_;
    // Nothing until first heard: the first state heard is no change.
    std::optional<bool> active_;
};

}  // namespace veltrane::linuxbackend
