#pragma once

#include "platform/Workspace.h"
#include "platform/linux/reactor/Reactor.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace veltrane::linuxbackend {

// The application frontmost on a Wayland compositor that lists the toplevel windows of its clients to
// other clients, as those built on wlroots do: the application of the activated window, and when it
// changes. Wayland has no common way to learn this, so on other compositors it is unavailable. Made,
// used and destroyed on the reactor's thread.
class WlrActiveApplication {
public:
    // The application an app_id belongs to, or nothing when unknown: then the app_id, if it is
    // printable text, serves as both its identifier and its name.
    using Lookup = std::function<std::optional<platform::RunningApplication>(const std::string& appId)>;
    using Handler = std::function<void(const std::optional<platform::RunningApplication>& application)>;

    // Connects to the display of that name (a socket name or an absolute path), or without one to the
    // one WAYLAND_DISPLAY names, and waits a few seconds at most for the compositor's first answer.
    // From then on it follows the windows as a source of the reactor, which calls changed each time
    // the frontmost application changes, nothing included (no window activated, or an application
    // without an app_id). The first call, if any, tells the frontmost application found at the start.
    WlrActiveApplication(Reactor& reactor, const std::optional<std::string>& display, Lookup lookup,
                         Handler changed);
    ~WlrActiveApplication();
    WlrActiveApplication(const WlrActiveApplication&) = delete;
    WlrActiveApplication& operator=(const WlrActiveApplication&) = delete;

    // False without a display, on a compositor that does not list its windows, and once the
    // compositor has gone away or stopped listing them: then changed hears a last nothing, if it had
    // heard of an application, and is not called any more.
    bool available() const;
    // Why it is not available; empty while it is.
    std::string problem() const;
    // The frontmost application as last told to changed.
    std::optional<platform::RunningApplication> current() const;

private:
    class Session;
    std::unique_ptr<Session> session_;
};

}  // namespace veltrane::linuxbackend
