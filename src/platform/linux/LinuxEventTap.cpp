#include "platform/linux/LinuxEventTap.h"

namespace veltrane::linuxbackend {

void LinuxEventTap::invalidate()
{
    invalidated_ = true;
    enabled_ = false;
}

void LinuxEventTap::handle(platform::Event& event) const
{
    if (enabled_ && platform::maskHolds(mask_, event.type)) {
        callback_(event.type, event);
    }
}

}  // namespace veltrane::linuxbackend
