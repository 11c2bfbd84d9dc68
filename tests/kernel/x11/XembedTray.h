#pragma once

#include "platform/linux/x11/X11Connection.h"
#include "x11/ClientMessage.h"

#include <QRect>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::kernel {

using desktoptest::sendClientMessage;

// The tray of a desktop panel, as small as a test needs: a strip along the top right of the
// screen that owns the system tray selection and docks, side by side, every icon that asks.
class XembedTray {
public:
    XembedTray(const std::string& display, int screenWidth)
        : x_(display), area_{screenWidth - kPanelWidth, 0, kPanelWidth, kPanelHeight},
          opcode_(x_.atom("_NET_SYSTEM_TRAY_OPCODE")), xembed_(x_.atom("_XEMBED"))
    {
        const std::uint32_t values[] = {kPanelGrey, 1};
        xcb_create_window(x_.get(), XCB_COPY_FROM_PARENT, panel_, x_.root(),
                          static_cast<std::int16_t>(area_.x()), 0, kPanelWidth, kPanelHeight, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_map_window(x_.get(), panel_);
        // Taking the selection and saying so on the root window is how icons learn there is a tray.
        const xcb_atom_t selection = x_.atom("_NET_SYSTEM_TRAY_S0");
        xcb_set_selection_owner(x_.get(), panel_, selection, XCB_CURRENT_TIME);
        sendClientMessage(x_.get(), x_.root(), x_.root(), x_.atom("MANAGER"), XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                          {XCB_CURRENT_TIME, selection, panel_, 0, 0});
        thread_ = std::jthread([this](const std::stop_token& stop) { serve(stop); });
    }

    QRect area() const { return area_; }
    // The first docked icon's place on the screen, once one has docked.
    std::optional<QRect> waitForIcon(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        if (!docked_.wait_for(lock, timeout, [this] { return !icons_.empty(); })) {
            return std::nullopt;
        }
        return icons_.front();
    }

private:
    static constexpr int kPanelWidth = 240;
    static constexpr int kPanelHeight = 32;
    static constexpr int kIconSize = 24;
    static constexpr int kIconGap = 4;
    static constexpr std::uint32_t kRequestDock = 0;
    static constexpr std::uint32_t kEmbeddedNotify = 0;
    static constexpr std::uint32_t kPanelGrey = 0x00d8d8d8;

    void serve(const std::stop_token& stop)
    {
        pollfd readable{x_.descriptor(), POLLIN, 0};
        while (!stop.stop_requested() && xcb_connection_has_error(x_.get()) == 0) {
            ::poll(&readable, 1, 50);
            while (const linuxbackend::X11Connection::Owned<xcb_generic_event_t> event{
                xcb_poll_for_event(x_.get())}) {
                const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event.get());
                if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && message->type == opcode_ &&
                    message->data.data32[1] == kRequestDock) {
                    dock(message->data.data32[2]);
                }
            }
        }
    }
    void dock(xcb_window_t icon)
    {
        std::lock_guard lock(mutex_);
        const int offset = kIconGap + static_cast<int>(icons_.size()) * (kIconSize + kIconGap);
        const int top = (kPanelHeight - kIconSize) / 2;
        xcb_reparent_window(x_.get(), icon, panel_, static_cast<std::int16_t>(offset),
                            static_cast<std::int16_t>(top));
        const std::uint32_t size[] = {kIconSize, kIconSize};
        xcb_configure_window(x_.get(), icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
        xcb_map_window(x_.get(), icon);
        sendClientMessage(x_.get(), icon, icon, xembed_, XCB_EVENT_MASK_NO_EVENT,
                          {XCB_CURRENT_TIME, kEmbeddedNotify, 0, panel_, 0});
        icons_.push_back({area_.x() + offset, top, kIconSize, kIconSize});
        docked_.notify_all();
    }

    linuxbackend::X11Connection x_;
    xcb_window_t panel_ = xcb_generate_id(x_.get());
    QRect area_;
    xcb_atom_t opcode_;
    xcb_atom_t xembed_;
    std::mutex mutex_;
    std::condition_variable docked_;
    std::vector<QRect> icons_;
    std::jthread thread_;
};

}  // namespace veltrane::kernel
