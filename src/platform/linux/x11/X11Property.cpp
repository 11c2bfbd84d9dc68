#include "platform/linux/x11/X11Property.h"

#include <algorithm>
#include <cstring>

namespace veltrane::linuxbackend {

std::vector<std::uint32_t> X11Property::values(const xcb_get_property_reply_t& reply, xcb_atom_t type)
{
    std::vector<std::uint32_t> found(valueBytes(reply, type, 32) / sizeof(std::uint32_t));
    // An empty vector may have no storage to copy to, even of no bytes.
    if (!found.empty()) {
        std::memcpy(found.data(), xcb_get_property_value(&reply), found.size() * sizeof(std::uint32_t));
    }
    return found;
}

std::string X11Property::text(const xcb_get_property_reply_t& reply, xcb_atom_t type)
{
    return {static_cast<const char*>(xcb_get_property_value(&reply)), valueBytes(reply, type, 8)};
}

// The reply carries `length` words after its header.
std::size_t X11Property::valueBytes(const xcb_get_property_reply_t& reply, xcb_atom_t type,
                                    std::uint8_t format)
{
    if ((type != XCB_GET_PROPERTY_TYPE_ANY && reply.type != type) || reply.format != format) {
        return 0;
    }
    const auto claimed = static_cast<std::size_t>(std::max(xcb_get_property_value_length(&reply), 0));
    return std::min(claimed, std::size_t{reply.length} * 4);
}

}  // namespace veltrane::linuxbackend
