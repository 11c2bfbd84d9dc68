#include "platform/linux/road/LinuxEventPoster.h"

#include "platform/KeyboardEventSource.h"

namespace veltrane::linuxbackend {

std::shared_ptr<platform::EventSource> LinuxEventPoster::createEventSource(platform::EventSourceState state)
{
    return std::make_shared<platform::KeyboardEventSource>(
        state == platform::EventSourceState::privateState ? nullptr : this);
}

void LinuxEventPoster::post(const platform::Event& event)
{
    if (sink_) {
        sink_(event);
    }
}

void LinuxEventPoster::warpMouseCursorPosition(platform::Point position)
{
    if (warp_) {
        warp_(position);
    }
}

}  // namespace veltrane::linuxbackend
