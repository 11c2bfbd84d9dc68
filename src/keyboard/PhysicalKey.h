#pragma once

#include <cstdint>
#include <optional>

namespace veltrane {

// The keys that can be the hyper key, by their HID usage on the keyboard page, in their fixed
// order: caps lock, the eight modifiers (kinds 1 to 8), the application key and F1 to F24
// (kinds 9 to 33). The preferences list them in this order.
class PhysicalKey {
public:
    static constexpr std::uint32_t kCapsLock = 0x39;
    static constexpr std::size_t kFirstNonModifier = 9;

    // The key's place in the list, or nothing for a usage that cannot be the hyper key.
    static std::optional<std::size_t> kind(std::int64_t usage);
    // The application key and the function keys: the HID mapping turns them into left Command.
    static bool isNonModifier(std::int64_t usage);
};

}  // namespace veltrane
