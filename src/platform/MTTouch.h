#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace veltrane::platform {

// The contact records of the multitouch framework, laid out byte for byte as the framework hands
// them over: a frame is a contiguous array of MTTouch, little-endian, 96 bytes each.

struct MTPoint {
    float x;
    float y;
};

struct MTVector {
    MTPoint position;
    MTPoint velocity;
};

// Path stages: 0 not tracking, 1 starting, 2 hovering, 3 making contact, 4 touching,
// 5 breaking contact, 6 lingering, 7 out of range. Frames may carry any other value.
using MTPathStage = std::int32_t;

struct MTTouch {
    std::int32_t frame;
    double timestamp;
    std::int32_t pathIndex;
    MTPathStage stage;
    std::int32_t fingerID;
    std::int32_t handID;
    MTVector normalizedVector;
    float zTotal;
    float zPressure;
    float angle;
    float majorAxis;
    float minorAxis;
    MTVector absoluteVector;
    std::int32_t field14;
    std::int32_t field15;
    float zDensity;
};

// The records are read in place, so the host must share their byte order.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(MTPoint) == 8 && sizeof(MTVector) == 16);
static_assert(sizeof(MTTouch) == 96);
static_assert(offsetof(MTTouch, frame) == 0);
static_assert(offsetof(MTTouch, timestamp) == 8);
static_assert(offsetof(MTTouch, pathIndex) == 16);
static_assert(offsetof(MTTouch, stage) == 20);
static_assert(offsetof(MTTouch, fingerID) == 24);
static_assert(offsetof(MTTouch, handID) == 28);
static_assert(offsetof(MTTouch, normalizedVector) == 32);
static_assert(offsetof(MTTouch, normalizedVector) + offsetof(MTVector, velocity) == 40);
static_assert(offsetof(MTTouch, zTotal) == 48);
static_assert(offsetof(MTTouch, zPressure) == 52);
static_assert(offsetof(MTTouch, angle) == 56);
static_assert(offsetof(MTTouch, majorAxis) == 60);
static_assert(offsetof(MTTouch, minorAxis) == 64);
static_assert(offsetof(MTTouch, absoluteVector) == 68);
static_assert(offsetof(MTTouch, absoluteVector) + offsetof(MTVector, velocity) == 76);
static_assert(offsetof(MTTouch, field14) == 84);
static_assert(offsetof(MTTouch, field15) == 88);
static_assert(offsetof(MTTouch, zDensity) == 92);

}  // namespace veltrane::platform
