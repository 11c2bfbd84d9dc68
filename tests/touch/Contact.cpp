#include "Contact.h"

#include "FixedMultitouch.h"

namespace veltrane::testing {

platform::MTTouch record(const Contact& c)
{
    platform::MTTouch touch{};
    touch.timestamp = c.timestamp;
    touch.pathIndex = c.path;
    touch.stage = c.stage;
    touch.normalizedVector = {{c.x, c.y}, {c.vx, c.vy}};
    touch.zTotal = c.z;
    touch.majorAxis = c.major;
    touch.minorAxis = c.minor;
    touch.absoluteVector.position =
        c.absolute.value_or(platform::MTPoint{c.x * static_cast<float>(FixedMultitouch::kWidth),
                                              c.y * static_cast<float>(FixedMultitouch::kHeight)});
    return touch;
}

}  // namespace veltrane::testing
