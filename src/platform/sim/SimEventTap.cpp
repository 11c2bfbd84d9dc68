#include "platform/sim/SimEventTap.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/SimQueue.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

SimEventTap::SimEventTap(Transcript& transcript, DesktopLock& lock, platform::EventMask mask,
                         platform::EventTapService::Callback callback, std::weak_ptr<SimQueue> queue)
    : transcript_(transcript), lock_(lock), mask_(mask), callback_(std::move(callback)),
      queue_(std::move(queue))
{
}

void SimEventTap::enable(bool enabled)
{
    const std::lock_guard guard(lock_);
    if (invalidated_ || enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    transcript_.record("tap", enabled ? "enabled" : "disabled");
}

bool SimEventTap::isEnabled() const
{
    const std::lock_guard guard(lock_);
    return enabled_;
}

void SimEventTap::invalidate()
{
    const std::lock_guard guard(lock_);
    if (invalidated_) {
        return;
    }
    enabled_ = false;
    invalidated_ = true;
    transcript_.record("tap", "invalidated");
}

void SimEventTap::handle(platform::Event& event)
{
    const std::lock_guard guard(lock_);
    if (enabled_ && platform::maskHolds(mask_, event.type)) {
        call(event.type, event);
    }
}

void SimEventTap::switchOff(platform::EventType notice)
{
    const std::lock_guard guard(lock_);
    if (!enabled_) {
        return;
    }
    enable(false);
    platform::Event empty;
    call(notice, empty);
}

void SimEventTap::call(platform::EventType type, platform::Event& event)
{
    if (const auto queue = queue_.lock()) {
        lock_.releasedDuring([&] { queue->sync([&] { callback_(type, event); }); });
    }
}

}  // namespace veltrane::sim
