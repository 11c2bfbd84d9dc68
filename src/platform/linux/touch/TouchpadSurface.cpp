#include "platform/linux/touch/TouchpadSurface.h"

#include <libevdev/libevdev.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrane::linuxbackend {

namespace {

constexpr double kAssumedWidthMillimetres = 100.0;

std::optional<TouchpadAxis> axis(const libevdev* device, unsigned int code)
{
    const input_absinfo* info = libevdev_get_abs_info(device, code);
    if (info == nullptr) {
        return std::nullopt;
    }
    return TouchpadAxis{info->minimum, info->maximum, info->resolution};
}

int slotCount(const std::optional<TouchpadAxis>& slot)
{
    if (!slot) {
        return 1;
    }
    const std::int64_t count = std::int64_t{slot->maximum} + 1;
    return static_cast<int>(std::clamp<std::int64_t>(count, 1, TouchpadSurface::kMostSlots));
}

std::int32_t hundredths(double millimetres)
{
    constexpr double most = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::lround(std::min(millimetres * 100.0, most)));
}

}  // namespace

double TouchpadAxis::range() const
{
    return std::max(0.0, static_cast<double>(maximum) - static_cast<double>(minimum));
}

double TouchpadAxis::fraction(std::int32_t value) const
{
    const double span = range();
    if (span == 0.0) {
        return 0.5;
    }
    return std::clamp((static_cast<double>(value) - static_cast<double>(minimum)) / span, 0.0, 1.0);
}

TouchpadSurface TouchpadSurface::read(const libevdev* device)
{
    TouchpadSurface surface;
    surface.x = axis(device, ABS_MT_POSITION_X).value_or(TouchpadAxis{});
    surface.y = axis(device, ABS_MT_POSITION_Y).value_or(TouchpadAxis{});
    surface.major = axis(device, ABS_MT_TOUCH_MAJOR);
    surface.minor = axis(device, ABS_MT_TOUCH_MINOR);
    surface.pressure = axis(device, ABS_MT_PRESSURE);
    surface.slots = slotCount(axis(device, ABS_MT_SLOT));
    return surface;
}

double TouchpadSurface::xUnitsPerMillimetre() const
{
    if (x.resolution > 0) {
        return x.resolution;
    }
    // Without a range the surface has no size, and 1 only keeps the axes' conversion defined.
    return x.range() > 0.0 ? x.range() / kAssumedWidthMillimetres : 1.0;
}

double TouchpadSurface::yUnitsPerMillimetre() const
{
    return y.resolution > 0 ? y.resolution : xUnitsPerMillimetre();
}

double TouchpadSurface::widthMillimetres() const
{
    return x.range() / xUnitsPerMillimetre();
}

double TouchpadSurface::heightMillimetres() const
{
    return y.range() / yUnitsPerMillimetre();
}

std::int32_t TouchpadSurface::width() const
{
    return hundredths(widthMillimetres());
}

std::int32_t TouchpadSurface::height() const
{
    return hundredths(heightMillimetres());
}

}  // namespace veltrane::linuxbackend
