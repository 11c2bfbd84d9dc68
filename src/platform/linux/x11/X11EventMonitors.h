#pragma once

#include "platform/EventMonitors.h"
#include "platform/linux/reactor/Reactor.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace veltrane::linuxbackend {

class X11Connection;

// Event monitors on an X11 desktop: every pointer move and button press of every device, as XInput 2
// reports them raw on the root window to any client that asks. Raw events take nothing from
// anyone: nothing is grabbed, no other client's window is touched, and they come even while
// another client holds a grab. They carry no position, so each event gets the pointer's position
// on the root window when it is read. Global and local monitors alike get every event of their
// mask, and what a local handler returns is not used: another client's event cannot be swallowed.
// Scrolling (buttons 4 to 7, motion of scroll axes only) is no pointer event here.
// A source of the reactor, whose thread runs the handlers; made and destroyed there. Monitors may be
// added and removed, and the pointer moved, from any thread.
class X11EventMonitors final : public platform::EventMonitors {
public:
    // Connects to the display (empty: DISPLAY). Throws std::runtime_error, naming the display, when
    // the server cannot be reached or lacks XInput 2.
    X11EventMonitors(Reactor& reactor, const std::string& display);
    ~X11EventMonitors() override;
    X11EventMonitors(const X11EventMonitors&) = delete;
    X11EventMonitors& operator=(const X11EventMonitors&) = delete;

    Token addGlobalMonitorForEvents(platform::EventMask mask, GlobalHandler handler) override;
    Token addLocalMonitorForEvents(platform::EventMask mask, LocalHandler handler) override;
    void removeMonitor(Token token) override;

    // Moves the pointer to that position on the root window, as the window system moves it: no
    // monitor hears of it.
    void warp(platform::Point position);

private:
    using Handler = std::function<void(const platform::Event& event)>;

    struct Monitor {
        platform::EventMask mask = 0;
        Handler handler;
    };

    Token add(platform::EventMask mask, Handler handler);
    void selectRawEvents(bool wanted);
    void read();
    std::optional<platform::Event> translate(const xcb_generic_event_t& event);
    void deliver(const platform::Event& event);

    // Guards the connection and the monitors.
    std::mutex mutex_;
    std::unique_ptr<X11Connection> connection_;
    std::uint8_t xinput_ = 0;
    std::map<Token, Monitor> monitors_;
    Token nextToken_ = 1;
    // Gone before the connection it watches.
    Reactor::Source readable_;
};

}  // namespace veltrane::linuxbackend
