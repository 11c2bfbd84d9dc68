#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <string>
#include <vector>

#include "x11/XConnection.h"
#include <QRect>

namespace veltrane::kernel {

// What a person sees on an X screen and the hands that use it: the windows shown, the pointer
// and the keyboard (through XTEST, as if from a device), and the pixels.
class XScreen {
public:
    struct Window {
        xcb_window_t id = 0;
        std::string title;
        QRect rect;
    };

    explicit XScreen(const std::string& display);

    // The windows shown on the screen, bottom to top.
    std::vector<Window> windows() const;
    void click(int x, int y);
    // Presses and releases the key that types this keysym.
    void type(xcb_keysym_t keysym);
    QImage grab(const QRect& rect) const;

private:
    std::string title(xcb_window_t window) const;
    xcb_keycode_t keycode(xcb_keysym_t keysym) const;
    void fake(std::uint8_t type, std::uint8_t detail, int x = 0, int y = 0);

    desktoptest::XConnection x_;
};

}  // namespace veltrane::kernel
