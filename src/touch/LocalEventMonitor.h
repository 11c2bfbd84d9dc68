#pragma once

#include "touch/EventMonitor.h"

#include <utility>

namespace veltrane {

// A platform monitor of the events sent to this application; its handler returns the event to deliver, or
// nothing to swallow it.
class LocalEventMonitor final : public EventMonitor {
public:
    using Handler = platform::EventMonitors::LocalHandler;

    LocalEventMonitor(platform::EventMonitors& monitors, platform::EventMask mask, Handler handler)
        : EventMonitor(monitors, mask), handler_(std::move(handler))
    {
    }

private:
    platform::EventMonitors::Token add(platform::EventMonitors& monitors, platform::EventMask mask) override
    {
        return monitors.addLocalMonitorForEvents(mask, handler_);
    }

    Handler handler_;
};

}  // namespace veltrane
