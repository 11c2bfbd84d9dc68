#include "touch/GlobalEventMonitor.h"

#include <utility>

namespace veltrane {

GlobalEventMonitor::GlobalEventMonitor(platform::EventMonitors& monitors, platform::EventMask mask,
                                       Handler handler)
    : monitors_(monitors), mask_(mask), handler_(std::move(handler))
{
}

GlobalEventMonitor::~GlobalEventMonitor()
{
    stop();
}

void GlobalEventMonitor::start()
{
    if (!monitor_) {
        monitor_ = monitors_.addGlobalMonitorForEvents(mask_, handler_);
    }
}

void GlobalEventMonitor::stop()
{
    if (monitor_) {
        monitors_.removeMonitor(*monitor_);
        monitor_.reset();
    }
}

}  // namespace veltrane
