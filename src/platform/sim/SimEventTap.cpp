#include "platform/sim/SimEventTap.h"

#include "platform/sim/SimQueue.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

SimEventTap::SimEventTap(Transcript& transcript, platform::EventMask mask,
                         platform::EventTapService::Callback callback, std::weak_ptr<SimQueue> queue)
    : transcript_(transcript), mask_(mask), callback_(std::move(callback)), queue_(std::move(queue))
{
}

void SimEventTap::enable(bool enabled)
{
    if (invalidated_ || enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    transcript_.record("tap", enabled ? "enabled" : "disabled");
}

void SimEventTap::invalidate()
{
    if (invalidated_) {
        return;
    }
    enabled_ = false;
    invalidated_ = true;
    transcript_.record("tap", "invalidated");
}

void SimEventTap::handle(platform::Event& event)
{
    if (enabled_ && platform::maskHolds(mask_, event.type)) {
        call(event.type, event);
    }
}

void SimEventTap::switchOff(platform::EventType notice)
{
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
        queue->sync([&] { callback_(type, event); });
    }
}

}  // namespace veltrane::sim
