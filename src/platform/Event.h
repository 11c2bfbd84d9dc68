#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace veltrane::platform {

// Event types of the session's event stream, by their platform numbers. The two notices at the
// top of the range are not events: an event tap's callback receives them when the system has
// switched the tap off.
enum class EventType : std::uint32_t {
    null = 0,
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    scrollWheel = 22,
    otherMouseDown = 25,
    otherMouseUp = 26,
    otherMouseDragged = 27,
    gesture = 29,
    pressure = 34,
    tapDisabledByTimeout = 0xFFFFFFFEu,
    tapDisabledByUserInput = 0xFFFFFFFFu,
};

// The 64-bit modifier flag word of an event.
using EventFlags = std::uint64_t;
inline constexpr EventFlags kFlagCapsLock = 0x10000;
inline constexpr EventFlags kFlagShift = 0x20000;
inline constexpr EventFlags kFlagControl = 0x40000;
inline constexpr EventFlags kFlagOption = 0x80000;
inline constexpr EventFlags kFlagCommand = 0x100000;
inline constexpr EventFlags kFlagNumericPad = 0x200000;
inline constexpr EventFlags kFlagSecondaryFn = 0x800000;

// Bit n of a mask stands for event type n.
using EventMask = std::uint64_t;

constexpr bool maskHolds(EventMask mask, EventType type)
{
    const auto bit = static_cast<std::uint32_t>(type);
    return bit < 64 && ((mask >> bit) & 1u) != 0;
}

struct Point {
    double x = 0.0;
    double y = 0.0;

    bool operator==(const Point&) const = default;
};

// Touch phases, as bits: began 1, moved 2, stationary 4, ended 8, cancelled 16.
using TouchPhase = std::int64_t;

// One finger of a gesture event: the hash of its identity (stable for one contact), its phase,
// its position normalised to the surface (origin bottom left) and the surface size in points.
struct GestureTouch {
    std::int64_t identityHash = 0;
    TouchPhase phase = 0;
    Point normalizedPosition;
    Point deviceSize;
};

// An event as it travels the stream; an event tap may change its flags in place. Gesture events
// also carry their touches (shared, so copying an event stays cheap), time and device.
struct Event {
    EventType type = EventType::null;
    EventFlags flags = 0;
    std::uint16_t keyCode = 0;
    std::int64_t subtype = 0;
    Point location;
    double timestamp = 0.0;
    std::int64_t deviceId = 0;
    std::shared_ptr<const std::vector<GestureTouch>> touches{};
};

}  // namespace veltrane::platform
