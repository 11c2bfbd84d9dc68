#include "x11/XembedTray.h"

#include <poll.h>

#include <cstdlib>
#include <memory>

namespace veltrane::kernel {

namespace {

constexpr int kPanelWidth = 240;
constexpr int kPanelHeight = 32;
constexpr int kIconSize = 24;
constexpr int kIconGap = 4;
constexpr std::uint32_t kRequestDock = 0;
constexpr std::uint32_t kEmbeddedNotify = 0;
constexpr std::uint32_t kPanelGrey = 0x00d8d8d8;

void sendMessage(xcb_connection_t* connection, xcb_window_t to, xcb_atom_t type, std::uint32_t mask,
                 std::initializer_list<std::uint32_t> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = to;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(connection, 0, to, mask, reinterpret_cast<const char*>(&message));
}

}  // namespace

XembedTray::XembedTray(const std::string& display, int screenWidth)
    : x_(display), connection_(x_.get()), area_{screenWidth - kPanelWidth, 0, kPanelWidth, kPanelHeight},
      opcode_(x_.atom("_NET_SYSTEM_TRAY_OPCODE")), xembed_(x_.atom("_XEMBED"))
{
    panel_ = xcb_generate_id(connection_);
    const std::uint32_t values[] = {kPanelGrey, 1};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, panel_, x_.screen()->root,
                      static_cast<std::int16_t>(area_.x()), 0, kPanelWidth, kPanelHeight, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, x_.screen()->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(connection_, panel_);
    announce();
    thread_ = std::jthread([this](const std::stop_token& stop) { serve(stop); });
}

XembedTray::~XembedTray()
{
    thread_.request_stop();
    thread_.join();
}

std::optional<QRect> XembedTray::waitForIcon(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    if (!docked_.wait_for(lock, timeout, [this] { return !icons_.empty(); })) {
        return std::nullopt;
    }
    return icons_.front();
}

// Taking the selection and saying so on the root window is how icons learn there is a tray.
void XembedTray::announce()
{
    const xcb_atom_t selection = x_.atom("_NET_SYSTEM_TRAY_S0");
    xcb_set_selection_owner(connection_, panel_, selection, XCB_CURRENT_TIME);
    sendMessage(connection_, x_.screen()->root, x_.atom("MANAGER"), XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                {XCB_CURRENT_TIME, selection, panel_, 0, 0});
    xcb_flush(connection_);
}

void XembedTray::serve(const std::stop_token& stop)
{
    pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
    while (!stop.stop_requested() && xcb_connection_has_error(connection_) == 0) {
        ::poll(&readable, 1, 50);
        while (auto* event = xcb_poll_for_event(connection_)) {
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && message->type == opcode_ &&
                message->data.data32[1] == kRequestDock) {
                dock(message->data.data32[2]);
            }
        }
    }
}

void XembedTray::dock(xcb_window_t icon)
{
    std::lock_guard lock(mutex_);
    const int offset = kIconGap + static_cast<int>(icons_.size()) * (kIconSize + kIconGap);
    const int top = (kPanelHeight - kIconSize) / 2;
    xcb_reparent_window(connection_, icon, panel_, static_cast<std::int16_t>(offset),
                        static_cast<std::int16_t>(top));
    const std::uint32_t size[] = {kIconSize, kIconSize};
    xcb_configure_window(connection_, icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    xcb_map_window(connection_, icon);
    sendMessage(connection_, icon, xembed_, XCB_EVENT_MASK_NO_EVENT,
                {XCB_CURRENT_TIME, kEmbeddedNotify, 0, panel_, 0});
    xcb_flush(connection_);
    icons_.push_back({area_.x() + offset, top, kIconSize, kIconSize});
    docked_.notify_all();
}

}  // namespace veltrane::kernel
