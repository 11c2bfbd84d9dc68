#include "platform/sim/SimEventMonitor.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/SimQueue.h"

namespace veltrane::sim {

SimEventMonitor::SimEventMonitor(DesktopLock& lock, platform::EventMask mask,
                                 platform::EventMonitors::GlobalHandler globalHandler,
                                 platform::EventMonitors::LocalHandler localHandler,
                                 std::weak_ptr<SimQueue> queue, std::function<bool()> ownApplicationFrontmost)
    : lock_(lock), mask_(mask), globalHandler_(std::move(globalHandler)),
      localHandler_(std::move(localHandler)), queue_(std::move(queue)),
      ownApplicationFrontmost_(std::move(ownApplicationFrontmost))
{
}

bool SimEventMonitor::handle(platform::Event& event)
{
    const auto queue = queue_.lock();
    if (!queue || !platform::maskHolds(mask_, event.type)) {
        return true;
    }
    const bool local = ownApplicationFrontmost_();
    if (globalHandler_ && !local) {
        queue->async([handler = globalHandler_, copy = event] { handler(copy); });
    }
    if (localHandler_ && local) {
        std::optional<platform::Event> result;
        lock_.releasedDuring([&] { queue->sync([&] { result = localHandler_(event); }); });
        if (!result) {
            return false;
        }
        event = *result;
    }
    return true;
}

}  // namespace veltrane::sim
