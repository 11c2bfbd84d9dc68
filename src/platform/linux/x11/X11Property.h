#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// What a window's property holds, read from the server's answer to GetProperty. A server may answer
// anything: a property of another type or format than the one asked for holds nothing here, and a
// reply holds no more than the bytes it carries, whatever it claims.
class X11Property {
public:
    // The 32-bit values of a property of that type (of any, with XCB_GET_PROPERTY_TYPE_ANY).
    static std::vector<std::uint32_t> values(const xcb_get_property_reply_t& reply, xcb_atom_t type);
    // The bytes of a property of that type in format 8.
    static std::string text(const xcb_get_property_reply_t& reply, xcb_atom_t type);

private:
    static std::size_t valueBytes(const xcb_get_property_reply_t& reply, xcb_atom_t type,
                                  std::uint8_t format);
};

}  // namespace veltrane::linuxbackend
