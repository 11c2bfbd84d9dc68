#pragma once

#include "platform/Workspace.h"
#include "platform/linux/bus/BusDistributedNotificationCenter.h"
#include "platform/linux/logind/LogindMonitor.h"
#include "platform/linux/reactor/Reactor.h"
#include "platform/linux/wayland/WlrActiveApplication.h"
#include "platform/linux/x11/DesktopEntries.h"
#include "platform/linux/x11/X11ActiveApplication.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace veltrane {

// What the desktop tells the workspace: the frontmost application from the display server that
// can say (a wlroots compositor's window list in a Wayland session, the window manager under X11),
// and sleep, wake and the session from logind. What cannot be watched stays off, and says why.
class DesktopWatchers {
public:
    struct Sinks {
        // On the reactor's thread, the frontmost application found at the start first.
        std::function<void(const std::optional<platform::RunningApplication>&)> activated;
        // For willSleep, the machine sleeps once it returns.
        std::function<void(platform::WorkspaceNotification)> announce;
        std::function<void(const std::string&)> log;
    };

    // The watchers are sources of the reactor, and call the sinks on its thread.
    DesktopWatchers(linuxbackend::Reactor& reactor, Sinks sinks);

    // One line for each: where the frontmost application and sleep come from, or why nowhere; and
    // whether the launcher helper can be reached on that bus.
    std::vector<std::string> describe(const linuxbackend::BusDistributedNotificationCenter& bus) const;
    bool knowsFrontmost() const { return frontmostProblem_.empty(); }

private:
    void watchFrontmost();

    linuxbackend::Reactor& reactor_;
    Sinks sinks_;
    std::string frontmostProblem_;
    std::unique_ptr<linuxbackend::WlrActiveApplication> wayland_;
    std::unique_ptr<linuxbackend::X11ActiveApplication> x11_;
    std::unique_ptr<linuxbackend::LogindMonitor> logind_;
};

}  // namespace veltrane
