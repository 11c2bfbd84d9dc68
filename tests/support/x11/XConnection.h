#pragma once

#include "ChildProcess.h"
#include "XReply.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace veltrane::desktoptest {

// One connection to an X server, closed with this object.
class XConnection {
public:
    // Throws when the server cannot be reached.
    explicit XConnection(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr))
    {
        if (xcb_connection_has_error(connection_) != 0) {
            xcb_disconnect(connection_);
            throw std::runtime_error("cannot reach the X server " + display);
        }
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    }
    ~XConnection() { xcb_disconnect(connection_); }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    xcb_connection_t* get() const { return connection_; }
    xcb_screen_t* screen() const { return screen_; }
    xcb_window_t root() const { return screen_->root; }
    xcb_atom_t atom(const char* name) const
    {
        const auto reply = ownReply(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    // A client message of 32-bit values, as window managers and trays are asked things.
    void send(xcb_window_t to, xcb_window_t about, xcb_atom_t type, std::uint32_t mask,
              std::initializer_list<std::uint32_t> data) const
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = about;
        message.type = type;
        std::copy(data.begin(), data.end(), message.data.data32);
        xcb_send_event(connection_, 0, to, mask, reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

private:
    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
};

}  // namespace veltrane::desktoptest
