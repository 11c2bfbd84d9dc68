#pragma once

#include "touch/DeviceType.h"

#include <cstdint>

namespace veltrane {

// A pointing device the touch subsystem knows: its multitouch device id, its HID location id and
// its kind.
struct Device {
    static constexpr std::uint64_t kLocationMask = 0x00FFFFFFFFFFFFFFull;
    // The built-in trackpad of most machines sits at this location.
    static constexpr std::uint64_t kBuiltInLocation = 0x1000000;

    std::uint64_t deviceId = 0;
    std::uint64_t locationId = 0;
    DeviceType type = DeviceType::unknown;

    bool operator==(const Device&) const = default;

    // The framework's device id is the HID location id with a tag byte on top.
    static constexpr std::uint64_t deviceIdForLocation(std::uint64_t locationId, DeviceType type)
    {
        if (isBuiltIn(type)) {
            return locationId == kBuiltInLocation ? 0x0200000001000000ull
                                                  : 0x0300000000000000ull | locationId;
        }
        return 0x0400000000000000ull | locationId;
    }

    static constexpr std::uint64_t locationIdForDevice(std::uint64_t deviceId)
    {
        return deviceId & kLocationMask;
    }
};

}  // namespace veltrane
