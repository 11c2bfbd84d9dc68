#pragma once

#include "platform/linux/x11/X11Connection.h"

#include <xcb/xtest.h>

#include <QImage>
#include <QRect>
#include <string>
#include <vector>

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

    explicit XScreen(const std::string& display) : x_(display) {}

    // The windows shown on the screen, bottom to top.
    std::vector<Window> windows()
    {
        std::vector<Window> shown;
        for (const xcb_window_t child : x_.children(x_.root())) {
            const auto attributes = x_.answer<xcb_get_window_attributes_reply_t>(
                xcb_get_window_attributes(x_.get(), child).sequence);
            const auto geometry =
                x_.answer<xcb_get_geometry_reply_t>(xcb_get_geometry(x_.get(), child).sequence);
            if (attributes && geometry && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
                shown.push_back({child,
                                 x_.text(child, x_.atom("_NET_WM_NAME"), x_.atom("UTF8_STRING"), 1024),
                                 {geometry->x, geometry->y, geometry->width, geometry->height}});
            }
        }
        return shown;
    }
    void click(int x, int y)
    {
        fake(XCB_MOTION_NOTIFY, 0, x, y);
        fake(XCB_BUTTON_PRESS, XCB_BUTTON_INDEX_1);
        fake(XCB_BUTTON_RELEASE, XCB_BUTTON_INDEX_1);
    }
    // Presses and releases the key that types this keysym.
    void type(xcb_keysym_t keysym)
    {
        const xcb_keycode_t key = keycode(keysym);
        fake(XCB_KEY_PRESS, key);
        fake(XCB_KEY_RELEASE, key);
    }
    // The server's depth-24 pixels come as 32-bit words, the layout of QImage's RGB32.
    QImage grab(const QRect& rect)
    {
        const auto image = x_.answer<xcb_get_image_reply_t>(
            xcb_get_image(x_.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, x_.root(), static_cast<std::int16_t>(rect.x()),
                          static_cast<std::int16_t>(rect.y()), static_cast<std::uint16_t>(rect.width()),
                          static_cast<std::uint16_t>(rect.height()), ~0U)
                .sequence);
        return image ? QImage(xcb_get_image_data(image.get()), rect.width(), rect.height(),
                              QImage::Format_RGB32)
                           .copy()
                     : QImage();
    }

private:
    xcb_keycode_t keycode(xcb_keysym_t keysym)
    {
        const xcb_setup_t* setup = xcb_get_setup(x_.get());
        const int count = setup->max_keycode - setup->min_keycode + 1;
        const auto mapping = x_.answer<xcb_get_keyboard_mapping_reply_t>(
            xcb_get_keyboard_mapping(x_.get(), setup->min_keycode, static_cast<std::uint8_t>(count))
                .sequence);
        const xcb_keysym_t* keysyms = mapping ? xcb_get_keyboard_mapping_keysyms(mapping.get()) : nullptr;
        for (int key = 0; mapping && key < count; ++key) {
            if (keysyms[key * mapping->keysyms_per_keycode] == keysym) {
                return static_cast<xcb_keycode_t>(setup->min_keycode + key);
            }
        }
        return 0;
    }
    void fake(std::uint8_t type, std::uint8_t detail, int x = 0, int y = 0)
    {
        xcb_test_fake_input(x_.get(), type, detail, XCB_CURRENT_TIME, x_.root(), static_cast<std::int16_t>(x),
                            static_cast<std::int16_t>(y), 0);
        xcb_flush(x_.get());
    }

    linuxbackend::X11Connection x_;
};

}  // namespace veltrane::kernel
