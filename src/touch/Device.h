#pragma once

#include "platform/Multitouch.h"
#include "touch/DeviceType.h"

#include <cstdint>

namespace veltrane {

// A pointing device the touch subsystem knows: its multitouch device id, its HID location id and
// its kind.
struct Device {
    static constexpr std::uint64_t kLocationMask = 0x00FFFFFFFFFFFFFFull;
    std::uint64_t deviceId = 0;
    std::uint64_t locationId = 0;
    DeviceType type = DeviceType::unknown;

    bool operator==(const Device&) const = default;

    static constexpr std::uint64_t deviceIdForLocation(std::uint64_t locationId, DeviceType type)
    {
        return platform::Multitouch::deviceIdForLocation(locationId, isBuiltIn(type));
    }
    static constexpr std::uint64_t locationIdForDevice(std::uint64_t deviceId)
    {
        return deviceId & kLocationMask;
    }
};

}  // namespace veltrane
