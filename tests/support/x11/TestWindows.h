#pragma once

#include "ClientMessage.h"
#include "platform/linux/x11/X11Connection.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace veltrane::desktoptest {

// A client on a test's X server that opens bare windows as applications do, and asks the window
// manager to bring one to the front as a pager does.
class TestWindows {
public:
    explicit TestWindows(const std::string& display) : x_(display) {}

    xcb_connection_t* get() const { return x_.get(); }
    xcb_atom_t atom(const std::string& name) { return x_.atom(name); }

    // Not yet shown. Without a class it has no WM_CLASS; without a process id no _NET_WM_PID.
    xcb_window_t create(const std::string& instance, const std::string& windowClass, std::uint32_t pid = 0,
                        xcb_window_t parent = XCB_NONE)
    {
        xcb_connection_t* c = x_.get();
        const xcb_window_t window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, parent == XCB_NONE ? x_.root() : parent, 0, 0, 100,
                          100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string value = instance + '\0' + windowClass + '\0';
        if (!windowClass.empty()) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                                static_cast<std::uint32_t>(value.size()), value.data());
        }
        if (pid != 0) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, x_.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL,
                                32, 1, &pid);
        }
        return window;
    }
    // Maps the window and its children; returns it.
    xcb_window_t show(xcb_window_t window)
    {
        xcb_map_subwindows(x_.get(), window);
        xcb_map_window(x_.get(), window);
        xcb_flush(x_.get());
        return window;
    }
    void destroy(xcb_window_t window)
    {
        xcb_destroy_window(x_.get(), window);
        xcb_flush(x_.get());
    }
    // Source 2: a pager, which window managers obey without second thoughts about focus stealing.
    void activate(xcb_window_t window)
    {
        sendClientMessage(x_.get(), x_.root(), window, x_.atom("_NET_ACTIVE_WINDOW"),
                          XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY, {2});
    }
    xcb_window_t activeWindow()
    {
        const auto active = x_.values(x_.root(), x_.atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 1);
        return active.empty() ? xcb_window_t{XCB_NONE} : active.front();
    }
    // A window manager maps windows while it is still starting without bringing them to the front:
    // it is ready once it brings a probe window there.
    bool waitForWindowManager(std::chrono::seconds limit)
    {
        const auto probe = show(create("probe", "Probe"));
        const auto deadline = std::chrono::steady_clock::now() + limit;
        bool ready = false;
        while (!ready && std::chrono::steady_clock::now() < deadline) {
            activate(probe);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ready = activeWindow() == probe;
        }
        destroy(probe);
        return ready;
    }

private:
    linuxbackend::X11Connection x_;
};

}  // namespace veltrane::desktoptest
