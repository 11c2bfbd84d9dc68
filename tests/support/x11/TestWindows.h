#pragma once

#include "x11/XConnection.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace veltrane::desktoptest {

// A client on a test's X server that opens bare windows as applications do, and asks the window
// manager to bring one to the front as a pager does.
class TestWindows {
public:
    explicit TestWindows(const std::string& display);

    xcb_connection_t* get() const { return x_.get(); }
    xcb_window_t root() const { return x_.screen()->root; }

    // Not yet shown. Without a class it has no WM_CLASS; without a process id no _NET_WM_PID.
    xcb_window_t create(const std::string& instance, const std::string& windowClass, std::uint32_t pid = 0,
                        xcb_window_t parent = XCB_NONE);
    // Maps the window and its children; returns it.
    xcb_window_t show(xcb_window_t window);
    void destroy(xcb_window_t window);
    void activate(xcb_window_t window);
    xcb_window_t activeWindow() const;
    // A window manager maps windows while it is still starting without bringing them to the front:
    // it is ready once it brings a probe window there.
    bool waitForWindowManager(std::chrono::seconds limit);

private:
    XConnection x_;
};

}  // namespace veltrane::desktoptest
