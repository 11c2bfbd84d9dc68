#include "x11/XConnection.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace veltrane::desktoptest {

XConnection::XConnection(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr))
{
    if (xcb_connection_has_error(connection_) != 0) {
        xcb_disconnect(connection_);
        throw std::runtime_error("cannot reach the X server " + display);
    }
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
}

XConnection::~XConnection()
{
    xcb_disconnect(connection_);
}

xcb_atom_t XConnection::atom(const char* name) const
{
    auto* reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return found;
}

}  // namespace veltrane::desktoptest
