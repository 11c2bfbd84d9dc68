#pragma once

#include "platform/EventPoster.h"
#include "platform/linux/ModifierState.h"

namespace veltrane::linuxbackend {

// Keyboard events that carry the flags of the system's state, or none for a private state.
class LinuxEventSource final : public platform::EventSource {
public:
    explicit LinuxEventSource(const ModifierState* modifiers) : modifiers_(modifiers) {}

    std::optional<platform::Event> createKeyboardEvent(std::uint16_t keyCode, bool keyDown) const override;

private:
    const ModifierState* modifiers_;
};

}  // namespace veltrane::linuxbackend
