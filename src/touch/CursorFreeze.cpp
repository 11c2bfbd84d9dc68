#include "touch/CursorFreeze.h"

namespace veltrane {

CursorFreeze::CursorFreeze(platform::EventMonitors& monitors, platform::EventPoster& poster)
    : monitors_(monitors), poster_(poster)
{
}

CursorFreeze::~CursorFreeze()
{
    unfreeze();
}

void CursorFreeze::freeze(std::optional<platform::Point> at)
{
    {
        const std::lock_guard lock(stillPosition_->mutex);
        stillPosition_->point = at;
    }
    if (!globalEventMonitor_) {
        globalEventMonitor_ = std::make_unique<GlobalEventMonitor>(
            monitors_, kMask,
            [still = stillPosition_, &poster = poster_](const std::optional<platform::Event>& event) {
                if (event) {
                    hold(*still, poster, *event);
                }
            });
        globalEventMonitor_->start();
    }
    if (!localEventMonitor_) {
        localEventMonitor_ = std::make_unique<LocalEventMonitor>(
            monitors_, kMask,
            [still = stillPosition_,
             &poster = poster_](const platform::Event& event) -> std::optional<platform::Event> {
                hold(*still, poster, event);
                return event;
            });
        localEventMonitor_->start();
    }
    frozen_ = true;
}

void CursorFreeze::unfreeze()
{
    frozen_ = false;
    {
        const std::lock_guard lock(stillPosition_->mutex);
        stillPosition_->point.reset();
    }
    globalEventMonitor_.reset();
    localEventMonitor_.reset();
}

void CursorFreeze::hold(StillPosition& still, platform::EventPoster& poster, const platform::Event& event)
{
    platform::Point point;
    {
        const std::lock_guard lock(still.mutex);
        if (!still.point) {
            // The first event pins the pointer where it is; it is not moved for this one.
            still.point = event.location;
            return;
        }
        point = *still.point;
    }
    poster.warpMouseCursorPosition(point);
}

}  // namespace veltrane
