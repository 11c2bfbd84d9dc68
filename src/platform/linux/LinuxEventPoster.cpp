#include "platform/linux/LinuxEventPoster.h"

#include "platform/linux/LinuxEventSource.h"

namespace veltrane::linuxbackend {

std::shared_ptr<platform::EventSource> LinuxEventPoster::createEventSource(platform::EventSourceState state)
{
    return std::make_shared<LinuxEventSource>(
        state == platform::EventSourceState::privateState ? nullptr : &modifiers_);
}

void LinuxEventPoster::post(const platform::Event& event)
{
    if (sink_) {
        sink_(event);
    }
}

}  // namespace veltrane::linuxbackend
