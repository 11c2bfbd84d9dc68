#include "platform/KeyboardEventSource.h"

namespace veltrane::platform {

std::optional<Event> KeyboardEventSource::createKeyboardEvent(std::uint16_t keyCode, bool keyDown) const
{
    Event event;
    event.type = keyDown ? EventType::keyDown : EventType::keyUp;
    event.keyCode = keyCode;
    event.flags = systemState_ == nullptr ? 0 : systemState_->modifierFlags();
    return event;
}

}  // namespace veltrane::platform
