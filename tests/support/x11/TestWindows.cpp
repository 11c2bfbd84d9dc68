#include "x11/TestWindows.h"

#include <cstdlib>
#include <memory>
#include <thread>

namespace veltrane::desktoptest {

TestWindows::TestWindows(const std::string& display) : x_(display) {}

xcb_window_t TestWindows::create(const std::string& instance, const std::string& windowClass,
                                 std::uint32_t pid, xcb_window_t parent)
{
    xcb_connection_t* c = x_.get();
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, parent == XCB_NONE ? root() : parent, 0, 0, 100, 100,
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    const std::string value = instance + '\0' + windowClass + '\0';
    if (!windowClass.empty()) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            static_cast<std::uint32_t>(value.size()), value.data());
    }
    if (pid != 0) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, x_.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32,
                            1, &pid);
    }
    return window;
}

xcb_window_t TestWindows::show(xcb_window_t window)
{
    xcb_map_subwindows(x_.get(), window);
    xcb_map_window(x_.get(), window);
    xcb_flush(x_.get());
    return window;
}

void TestWindows::destroy(xcb_window_t window)
{
    xcb_destroy_window(x_.get(), window);
    xcb_flush(x_.get());
}

void TestWindows::activate(xcb_window_t window)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x_.atom("_NET_ACTIVE_WINDOW");
    // Source 2: a pager, which window managers obey without second thoughts about focus stealing.
    message.data.data32[0] = 2;
    xcb_send_event(x_.get(), 0, root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(x_.get());
}

xcb_window_t TestWindows::activeWindow() const
{
    xcb_connection_t* c = x_.get();
    const auto cookie = xcb_get_property(c, 0, root(), x_.atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &std::free);
    return reply && xcb_get_property_value_length(reply.get()) == 4
               ? *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()))
               : xcb_window_t{XCB_NONE};
}

bool TestWindows::waitForWindowManager(std::chrono::seconds limit)
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

}  // namespace veltrane::desktoptest
