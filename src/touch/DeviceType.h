#pragma once

#include <cstdint>

namespace veltrane {

// The kinds of pointing device the touch subsystem tells apart.
enum class DeviceType : std::uint8_t {
    magicTrackpad = 0,
    magicTrackpad2 = 1,
    internalTrackpad = 2,
    internalTrackpad2 = 3,
    magicMouse = 4,
    magicMouse2 = 5,
    unknown = 6,
    unknownWithForce = 7,
};

// Trackpads, whose contact frames are followed.
constexpr bool isRegistrable(DeviceType type)
{
    return type != DeviceType::magicMouse && type != DeviceType::magicMouse2 && type != DeviceType::unknown;
}

constexpr bool isBuiltIn(DeviceType type)
{
    return type == DeviceType::internalTrackpad || type == DeviceType::internalTrackpad2;
}

constexpr bool isMagicMouse(DeviceType type)
{
    return type == DeviceType::magicMouse || type == DeviceType::magicMouse2;
}

constexpr bool hasForceTouch(DeviceType type)
{
    return type == DeviceType::magicTrackpad2 || type == DeviceType::internalTrackpad2 ||
           type == DeviceType::unknownWithForce;
}

}  // namespace veltrane
