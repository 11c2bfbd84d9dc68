#pragma once

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace veltrane::desktoptest {

// Sends a client message of 32-bit values about a window, as window managers and trays are asked
// things.
inline void sendClientMessage(xcb_connection_t* connection, xcb_window_t to, xcb_window_t about,
                              xcb_atom_t type, std::uint32_t mask, std::initializer_list<std::uint32_t> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = about;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(connection, 0, to, mask, reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

}  // namespace veltrane::desktoptest
