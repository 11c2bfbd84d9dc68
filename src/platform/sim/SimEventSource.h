#pragma once

#include "platform/EventPoster.h"

namespace veltrane::sim {

// An event source: a private one carries no flags of its own; the others carry the system's
// modifier flags at the time an event is made.
class SimEventSource final : public platform::EventSource {
public:
    explicit SimEventSource(const platform::EventPoster* systemState) : systemState_(systemState) {}

    std::optional<platform::Event> createKeyboardEvent(std::uint16_t keyCode, bool keyDown) const override;

private:
    const platform::EventPoster* systemState_;
};

}  // namespace veltrane::sim
