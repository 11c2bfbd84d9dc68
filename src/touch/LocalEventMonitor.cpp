#include "touch/LocalEventMonitor.h"

#include <utility>

namespace veltrane {

LocalEventMonitor::LocalEventMonitor(platform::EventMonitors& monitors, platform::EventMask mask,
                                     Handler handler)
    : monitors_(monitors), mask_(mask), handler_(std::move(handler))
{
}

LocalEventMonitor::~LocalEventMonitor()
{
    stop();
}

void LocalEventMonitor::start()
{
    if (!monitor_) {
        monitor_ = monitors_.addLocalMonitorForEvents(mask_, handler_);
    }
}

void LocalEventMonitor::stop()
{
    if (monitor_) {
        monitors_.removeMonitor(*monitor_);
        monitor_.reset();
    }
}

}  // namespace veltrane
