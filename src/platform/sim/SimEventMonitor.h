#pragma once

#include "platform/EventMonitors.h"

#include <functional>
#include <memory>

namespace veltrane::sim {

class DesktopLock;
class SimQueue;

// One event monitor of a process. A global one gets a copy of each watched event while another
// application is frontmost, later on the process's main queue; a local one gets the event while
// the process's own application is frontmost, before it is delivered, and may swallow it.
class SimEventMonitor {
public:
    SimEventMonitor(DesktopLock& lock, platform::EventMask mask,
                    platform::EventMonitors::GlobalHandler globalHandler,
                    platform::EventMonitors::LocalHandler localHandler, std::weak_ptr<SimQueue> queue,
                    std::function<bool()> ownApplicationFrontmost);

    // False when the event was swallowed.
    bool handle(platform::Event& event);

private:
    DesktopLock& lock_;
    platform::EventMask mask_;
    platform::EventMonitors::GlobalHandler globalHandler_;
    platform::EventMonitors::LocalHandler localHandler_;
    std::weak_ptr<SimQueue> queue_;
    std::function<bool()> ownApplicationFrontmost_;
};

}  // namespace veltrane::sim
