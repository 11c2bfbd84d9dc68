#pragma once

#include <cstdint>
#include <optional>

namespace veltrane {

// The keys caps lock can be remapped to when the listener sends them itself: from the HID usage
// stored in capsLockKeycode to the virtual key code it posts.
class UsageKeyCodes {
public:
    static std::optional<std::uint16_t> keyCode(std::int64_t usage);
};

}  // namespace veltrane
