#pragma once

#include "platform/Workspace.h"
#include "platform/linux/reactor/Reactor.h"
#include "platform/linux/x11/DesktopEntries.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane::linuxbackend {

class X11Connection;

// The application frontmost on an X11 desktop, as the window manager's _NET_ACTIVE_WINDOW shows it,
// named by its desktop entry: the desktop file id and Name; without an entry, the window's
// WM_CLASS class for both. Watches as a source of the reactor while it lives: made, used and destroyed
// on the reactor's thread.
class X11ActiveApplication {
public:
    using Handler = std::function<void(const std::optional<platform::RunningApplication>& application)>;

    // Connects to the display (empty: DISPLAY) and knows the frontmost application on return.
    // Without a server or a window manager that publishes the active window it is not available,
    // and never calls changed. Otherwise the reactor calls changed each time another application, or
    // none, comes to the front; not when focus moves within one application. The first call, if
    // any, tells the frontmost application found at the start.
    X11ActiveApplication(Reactor& reactor, const std::string& display,
                         std::shared_ptr<const DesktopEntries> entries, Handler changed);
    ~X11ActiveApplication();
    X11ActiveApplication(const X11ActiveApplication&) = delete;
    X11ActiveApplication& operator=(const X11ActiveApplication&) = delete;

    // False once it cannot or can no longer watch, as when the server went away.
    bool available() const;
    // Why it is not available; empty while it is.
    std::string problem() const;
    // The frontmost application, or nothing; the last one known after the watch ended.
    std::optional<platform::RunningApplication> current() const;

    // The application of a window whose WM_CLASS property holds that, and whose process runs that
    // executable; nothing for a window the entries do not know and whose class is no printable text.
    static std::optional<platform::RunningApplication>
    identify(const DesktopEntries& entries, std::string_view windowClass,
             const std::optional<std::filesystem::path>& executable);

private:
    struct Atoms {
        std::uint32_t supported = 0;
        std::uint32_t activeWindow = 0;
        std::uint32_t pid = 0;
        std::uint32_t wmState = 0;
    };

    void start(const std::string& display);
    void watch();
    void follow();
    std::optional<platform::RunningApplication> frontmost();
    std::optional<std::uint32_t> clientBelow(std::uint32_t window, int depth);
    void publish(const std::optional<platform::RunningApplication>& application);
    void fail(const std::string& why);

    Reactor& reactor_;
    std::shared_ptr<const DesktopEntries> entries_;
    Handler changed_;
    std::unique_ptr<X11Connection> connection_;
    Atoms atoms_;
    std::string problem_;
    std::optional<platform::RunningApplication> current_;
    // Gone before the connection they watch.
    Reactor::Source starting_;
    Reactor::Source readable_;
    // Nothing in front, told once it has lasted.
    Reactor::Source settling_;
};

}  // namespace veltrane::linuxbackend
