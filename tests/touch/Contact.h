#pragma once

#include "platform/MTTouch.h"

#include <cstdint>
#include <optional>

namespace veltrane::testing {

// One contact of a frame: by default a firm, small, still finger in the middle of the surface.
struct Contact {
    std::int32_t path = 1;
    platform::MTPathStage stage = 4;
    float x = 0.5f;
    float y = 0.5f;
    float vx = 0.0f;
    float vy = 0.0f;
    float z = 1.0f;
    float major = 6.0f;
    float minor = 5.0f;
    double timestamp = 1.0;
    std::optional<platform::MTPoint> absolute = std::nullopt;  // x · width, y · height when not given
};

// The contact as the multitouch framework records it, on a surface of FixedMultitouch's size. Out of
// line: inlined into callers, GCC 12 at -O2 warns that the unset optional's point may be read.
platform::MTTouch record(const Contact& c);

}  // namespace veltrane::testing
