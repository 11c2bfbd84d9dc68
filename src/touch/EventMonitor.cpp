#include "touch/EventMonitor.h"

namespace veltrane {

EventMonitor::~EventMonitor()
{
    stop();
}

void EventMonitor::start()
{
    if (!monitor_) {
        monitor_ = add(monitors_, mask_);
    }
}

void EventMonitor::stop()
{
    if (monitor_) {
        monitors_.removeMonitor(*monitor_);
        monitor_.reset();
    }
}

}  // namespace veltrane
