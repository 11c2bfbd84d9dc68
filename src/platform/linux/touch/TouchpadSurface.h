#pragma once

#include <cstdint>
#include <optional>

struct libevdev;

namespace veltrane::linuxbackend {

// One absolute axis as the kernel describes it.
struct TouchpadAxis {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    // Units per millimetre; 0 when the device does not say.
    std::int32_t resolution = 0;

    // The span of values, 0 for an axis without one.
    double range() const;
    // Where a value lies from the minimum (0) to the maximum (1), kept on the axis: pads report a
    // little past their edges. An axis without a range puts every value in the middle.
    double fraction(std::int32_t value) const;

    bool operator==(const TouchpadAxis&) const = default;
};

// The multitouch axes of a touchpad, and the size of its surface that follows from them.
struct TouchpadSurface {
    static constexpr int kMostSlots = 32;

    TouchpadAxis x;
    TouchpadAxis y;
    std::optional<TouchpadAxis> major = std::nullopt;
    std::optional<TouchpadAxis> minor = std::nullopt;
    std::optional<TouchpadAxis> pressure = std::nullopt;
    int slots = 1;

    static TouchpadSurface read(const libevdev* device);

    // Many pads (and virtual ones) give no resolution: such a pad is taken as 100 mm wide, and its y
    // as measured in the units of its x.
    double xUnitsPerMillimetre() const;
    double yUnitsPerMillimetre() const;
    double widthMillimetres() const;
    double heightMillimetres() const;
    // The size in the multitouch framework's units, hundredths of a millimetre.
    std::int32_t width() const;
    std::int32_t height() const;
};

}  // namespace veltrane::linuxbackend
