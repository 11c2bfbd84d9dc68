#pragma once

#include "touch/EventMonitor.h"

#include <utility>

namespace veltrane {

// A platform monitor of the events sent to other applications; its handler gets a copy of each.
class GlobalEventMonitor final : public EventMonitor {
public:
    using Handler = platform::EventMonitors::GlobalHandler;

    GlobalEventMonitor(platform::EventMonitors& monitors, platform::EventMask mask, Handler handler)
        : EventMonitor(monitors, mask), handler_(std::move(handler))
    {
    }

private:
    platform::EventMonitors::Token add(platform::EventMonitors& monitors, platform::EventMask mask) override
    {
        return monitors.addGlobalMonitorForEvents(mask, handler_);
    }

    Handler handler_;
};

}  // namespace veltrane
