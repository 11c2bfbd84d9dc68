#include "touch/TouchBeginTimes.h"

namespace veltrane {

std::optional<double> TouchBeginTimes::find(std::int64_t id) const
{
    return times_->find(id);
}

void TouchBeginTimes::set(std::int64_t id, double timestamp)
{
    writable().set(id, timestamp);
}

void TouchBeginTimes::erase(std::int64_t id)
{
    if (times_->find(id)) {
        writable().erase(id);
    }
}

void TouchBeginTimes::clear()
{
    if (times_->empty()) {
        return;
    }
    // Emptied in place while no snapshot holds it, keeping its memory for the next touches.
    if (times_.use_count() > 1) {
        times_ = std::make_shared<TouchBeginTimestamps>();
    } else {
        times_->clear();
    }
}

TouchBeginTimestamps& TouchBeginTimes::writable()
{
    // Only this tracker makes new references, so a count of 1 means no snapshot is out there.
    if (times_.use_count() > 1) {
        times_ = std::make_shared<TouchBeginTimestamps>(*times_);
    }
    return *times_;
}

}  // namespace veltrane
