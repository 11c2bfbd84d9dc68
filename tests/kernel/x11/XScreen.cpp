#include "x11/XScreen.h"

#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>

namespace veltrane::kernel {

namespace {

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> Owned<Reply> own(Reply* reply)
{
    return Owned<Reply>(reply, &std::free);
}

}  // namespace

XScreen::XScreen(const std::string& display) : x_(display) {}

std::vector<XScreen::Window> XScreen::windows() const
{
    xcb_connection_t* c = x_.get();
    const xcb_window_t root = x_.screen()->root;
    std::vector<Window> shown;
    auto tree = own(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree) {
        return shown;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        auto attributes =
            own(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
        auto geometry = own(xcb_get_geometry_reply(c, xcb_get_geometry(c, children[i]), nullptr));
        if (attributes && geometry && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
            shown.push_back({children[i],
                             title(children[i]),
                             {geometry->x, geometry->y, geometry->width, geometry->height}});
        }
    }
    return shown;
}

void XScreen::click(int x, int y)
{
    fake(XCB_MOTION_NOTIFY, 0, x, y);
    fake(XCB_BUTTON_PRESS, XCB_BUTTON_INDEX_1);
    fake(XCB_BUTTON_RELEASE, XCB_BUTTON_INDEX_1);
}

void XScreen::type(xcb_keysym_t keysym)
{
    const xcb_keycode_t key = keycode(keysym);
    fake(XCB_KEY_PRESS, key);
    fake(XCB_KEY_RELEASE, key);
}

// The server's depth-24 pixels come as 32-bit words, the layout of QImage's RGB32.
QImage XScreen::grab(const QRect& rect) const
{
    xcb_connection_t* c = x_.get();
    auto image = own(xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, x_.screen()->root, static_cast<std::int16_t>(rect.x()),
                      static_cast<std::int16_t>(rect.y()), static_cast<std::uint16_t>(rect.width()),
                      static_cast<std::uint16_t>(rect.height()), ~0U),
        nullptr));
    if (!image) {
        return {};
    }
    return QImage(xcb_get_image_data(image.get()), rect.width(), rect.height(), QImage::Format_RGB32).copy();
}

std::string XScreen::title(xcb_window_t window) const
{
    xcb_connection_t* c = x_.get();
    auto name = own(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, x_.atom("_NET_WM_NAME"), x_.atom("UTF8_STRING"), 0, 1024),
        nullptr));
    if (!name) {
        return {};
    }
    return {static_cast<const char*>(xcb_get_property_value(name.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(name.get()))};
}

xcb_keycode_t XScreen::keycode(xcb_keysym_t keysym) const
{
    xcb_connection_t* c = x_.get();
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto mapping = own(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr));
    if (!mapping) {
        return 0;
    }
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    for (int key = 0; key < count; ++key) {
        if (keysyms[key * mapping->keysyms_per_keycode] == keysym) {
            return static_cast<xcb_keycode_t>(setup->min_keycode + key);
        }
    }
    return 0;
}

void XScreen::fake(std::uint8_t type, std::uint8_t detail, int x, int y)
{
    xcb_test_fake_input(x_.get(), type, detail, XCB_CURRENT_TIME, x_.screen()->root,
                        static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0);
    xcb_flush(x_.get());
}

}  // namespace veltrane::kernel
