#pragma once

#include "platform/Event.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace veltrane::platform {

// The state an event source draws its flags from.
enum class EventSourceState : std::int32_t {
    privateState = -1,
    combinedSession = 0,
    hidSystem = 1,
};

class EventSource {
public:
    virtual ~EventSource() = default;

    // A key down or up of a virtual key code, carrying the source's flags; nothing when the
    // event cannot be made.
    virtual std::optional<Event> createKeyboardEvent(std::uint16_t keyCode, bool keyDown) const = 0;
};

class EventPoster {
public:
    virtual ~EventPoster() = default;

    virtual std::shared_ptr<EventSource> createEventSource(EventSourceState state) = 0;
    // Posts a synthetic event where the HID system's own events enter the stream, so that it
    // passes every event tap like a real key press.
    virtual void post(const Event& event) = 0;
    // The modifier flags the system holds right now.
    virtual EventFlags modifierFlags() const = 0;
    // Moves the pointer without generating an event.
    virtual void warpMouseCursorPosition(Point position) = 0;
};

}  // namespace veltrane::platform
