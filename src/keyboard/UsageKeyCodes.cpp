#include "keyboard/UsageKeyCodes.h"

#include "platform/KeyTable.h"

#include <algorithm>
#include <array>

namespace veltrane {

namespace {

// Escape, the modifiers, the editing and navigation keys, the volume keys and F1 to F20. Letters,
// digits and the rest of the table are never sent for caps lock.
constexpr std::array<std::uint32_t, 45> kUsages = {
    0x29, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0x28, 0x2A, 0x4C, 0x2B, 0x2C, 0x4A,
    0x4D, 0x4B, 0x4E, 0x50, 0x4F, 0x52, 0x51, 0x7F, 0x80, 0x81, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E,
    0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
};

}  // namespace

std::optional<std::uint16_t> UsageKeyCodes::keyCode(std::int64_t usage)
{
    const bool listed = std::any_of(kUsages.begin(), kUsages.end(),
                                    [&](std::uint32_t known) { return std::int64_t{known} == usage; });
    if (!listed) {
        return std::nullopt;
    }
    const auto* key =
        platform::KeyTable::byUsage(platform::KeyTable::kKeyboardPage, static_cast<std::uint32_t>(usage));
    return key == nullptr ? std::nullopt : key->keyCode;
}

}  // namespace veltrane
