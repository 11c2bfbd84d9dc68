#include "platform/linux/road/LinuxEventTap.h"

namespace veltrane::linuxbackend {

void LinuxEventTap::enable(bool enabled)
{
    const bool now = enabled && !invalidated_;
    if (enabled_.exchange(now) != now) {
        changed_();
    }
}

void LinuxEventTap::invalidate()
{
    invalidated_ = true;
    enable(false);
}

void LinuxEventTap::handle(platform::Event& event) const
{
    if (enabled_ && platform::maskHolds(mask_, event.type)) {
        callback_(event.type, event);
    }
}

}  // namespace veltrane::linuxbackend
