#pragma once

#include "platform/HidDevice.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace veltrane {

// One keyboard, told apart from others by vendor, product and location.
struct KeyboardDevice {
    std::int64_t vendor = 0;
    std::int64_t product = 0;
    std::uint64_t locationId = 0;

    auto operator<=>(const KeyboardDevice&) const = default;

    // Nothing when any of the three properties is missing or not an integer.
    static std::optional<KeyboardDevice> of(const platform::HidDevice& device);
    // "KeyboardDevice(vendor: 1452, product: 638, locationId: 337641472)"
    std::string description() const;
};

}  // namespace veltrane
