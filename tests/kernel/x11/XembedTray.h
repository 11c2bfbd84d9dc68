#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "x11/XConnection.h"
#include <QRect>

namespace veltrane::kernel {

// The tray of a desktop panel, as small as a test needs: a strip along the top right of the
// screen that owns the system tray selection and docks, side by side, every icon that asks.
class XembedTray {
public:
    XembedTray(const std::string& display, int screenWidth);
    ~XembedTray();
    XembedTray(const XembedTray&) = delete;
    XembedTray& operator=(const XembedTray&) = delete;

    QRect area() const { return area_; }
    // The first docked icon's place on the screen, once one has docked.
    std::optional<QRect> waitForIcon(std::chrono::milliseconds timeout);

private:
    void announce();
    void serve(const std::stop_token& stop);
    void dock(xcb_window_t icon);

    desktoptest::XConnection x_;
    xcb_connection_t* connection_;
    xcb_window_t panel_ = 0;
    QRect area_;
    xcb_atom_t opcode_;
    xcb_atom_t xembed_;
    std::mutex mutex_;
    std::condition_variable docked_;
    std::vector<QRect> icons_;
    std::jthread thread_;
};

}  // namespace veltrane::kernel
