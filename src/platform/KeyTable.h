#pragma once

#include "platform/Event.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace veltrane::platform {

// Every key the project knows, in each vocabulary it meets: the HID usage a keyboard reports, the
// virtual key code the event stream carries, the Linux input key code (KEY_* of the kernel's
// input-event-codes.h) and the name scenarios use. Adapters translate at the edge through this
// table and nowhere else.
class KeyTable {
public:
    static constexpr std::uint32_t kKeyboardPage = 7;
    // The Apple vendor page, where the Fn key is usage 3.
    static constexpr std::uint32_t kVendorPage = 0xFF;

    struct Key {
        std::uint32_t usagePage = kKeyboardPage;
        std::uint32_t usage = 0;
        // Nothing for a key the event stream has no code for: it makes no event.
        std::optional<std::uint16_t> keyCode;
        std::uint16_t linuxCode = 0;
        std::string_view name;
        // The modifier flag the key holds while it is down; its events are flags-changed events.
        EventFlags modifier = 0;
        // Flags every event of the key carries (Fn on function and navigation keys).
        EventFlags ownFlags = 0;
    };

    static std::span<const Key> keys();
    // Each lookup gives nothing for a value no key has.
    static const Key* byUsage(std::uint32_t usagePage, std::uint32_t usage);
    static const Key* byKeyCode(std::uint16_t keyCode);
    static const Key* byLinuxCode(std::uint16_t linuxCode);
    static const Key* byName(std::string_view name);
};

}  // namespace veltrane::platform
