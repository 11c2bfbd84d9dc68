#pragma once

#include "platform/Event.h"

#include <cstdint>
#include <optional>

namespace veltrane::sim {

// How the window server turns a HID key into an event: its virtual key code on the ANSI layout,
// the modifier flag it holds while down (modifier keys give flags-changed events), and the flags
// every event of that key carries.
struct KeyInfo {
    std::uint16_t keyCode = 0;
    platform::EventFlags modifier = 0;
    platform::EventFlags ownFlags = 0;
};

class KeyLayout {
public:
    static constexpr std::uint32_t kKeyboardPage = 7;
    static constexpr std::uint32_t kVendorPage = 0xFF;
    static constexpr std::uint32_t kCapsLockUsage = 0x39;

    // Nothing for a key without a virtual key code: it gives no event.
    static std::optional<KeyInfo> lookup(std::uint32_t usagePage, std::uint32_t usage);
};

}  // namespace veltrane::sim
