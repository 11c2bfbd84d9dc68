#include "platform/sim/SimEventSource.h"

namespace veltrane::sim {

std::optional<platform::Event> SimEventSource::createKeyboardEvent(std::uint16_t keyCode, bool keyDown) const
{
    platform::Event event;
    event.type = keyDown ? platform::EventType::keyDown : platform::EventType::keyUp;
    event.keyCode = keyCode;
    event.flags = systemState_ == nullptr ? 0 : systemState_->modifierFlags();
    return event;
}

}  // namespace veltrane::sim
