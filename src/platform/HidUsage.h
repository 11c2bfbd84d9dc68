#pragma once

#include <compare>
#include <cstdint>

namespace veltrane::platform {

// A key as a keyboard reports it: HID usage page and usage.
struct HidUsage {
    std::uint32_t page = 0;
    std::uint32_t usage = 0;

    auto operator<=>(const HidUsage&) const = default;
};

}  // namespace veltrane::platform
