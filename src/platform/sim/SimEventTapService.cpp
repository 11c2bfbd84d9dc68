#include "platform/sim/SimEventTapService.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/Faults.h"
#include "platform/sim/Scheduler.h"
#include "platform/sim/SimDispatch.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/Transcript.h"
#include "platform/sim/WindowServer.h"

#include <cstdio>
#include <utility>

namespace veltrane::sim {

SimEventTapService::SimEventTapService(Scheduler& scheduler, DesktopLock& lock, Transcript& transcript,
                                       Faults& faults, WindowServer& windowServer, SimDispatch& dispatch)
    : scheduler_(scheduler), lock_(lock), transcript_(transcript), faults_(faults),
      windowServer_(windowServer), dispatch_(dispatch)
{
}

std::shared_ptr<platform::EventTap> SimEventTapService::createTap(platform::EventMask mask, Callback callback)
{
    const std::lock_guard guard(lock_);
    if (std::exchange(faults_.tapCreate, false)) {
        return nullptr;
    }
    // The tap's source joins the run loop of the thread that creates it (on real threads, always the
    // main one: the scheduler runs nothing then).
    SimQueue* creator = scheduler_.current();
    SimQueue& queue = creator != nullptr && creator->process() == dispatch_.mainQueue().process()
                          ? *creator
                          : dispatch_.mainQueue();
    auto tap =
        std::make_shared<SimEventTap>(transcript_, lock_, mask, std::move(callback), queue.weak_from_this());
    char text[48];
    std::snprintf(text, sizeof text, "created mask=0x%llx", static_cast<unsigned long long>(mask));
    transcript_.record("tap", text);
    windowServer_.addTap(tap);
    return tap;
}

}  // namespace veltrane::sim
