#pragma once

#include "platform/EventPoster.h"

namespace veltrane::platform {

// An event source of keyboard events: a private one (no system) carries no flags of its own; the
// others carry the system's modifier flags at the time an event is made.
class KeyboardEventSource final : public EventSource {
public:
    explicit KeyboardEventSource(const EventPoster* systemState) : systemState_(systemState) {}

    std::optional<Event> createKeyboardEvent(std::uint16_t keyCode, bool keyDown) const override;

private:
    const EventPoster* systemState_;
};

}  // namespace veltrane::platform
