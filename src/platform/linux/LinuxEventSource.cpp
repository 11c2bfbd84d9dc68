#include "platform/linux/LinuxEventSource.h"

namespace veltrane::linuxbackend {

std::optional<platform::Event> LinuxEventSource::createKeyboardEvent(std::uint16_t keyCode,
                                                                     bool keyDown) const
{
    platform::Event event;
    event.type = keyDown ? platform::EventType::keyDown : platform::EventType::keyUp;
    event.keyCode = keyCode;
    event.flags = modifiers_ == nullptr ? 0 : modifiers_->flags();
    return event;
}

}  // namespace veltrane::linuxbackend
