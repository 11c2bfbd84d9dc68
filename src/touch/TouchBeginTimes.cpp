#include "touch/TouchBeginTimes.h"

namespace veltrane {

std::optional<double> TouchBeginTimes::find(std::int64_t id) const
{
    const auto found = times_->find(id);
    return found == times_->end() ? std::nullopt : std::optional<double>(found->second);
}

void TouchBeginTimes::set(std::int64_t id, double timestamp)
{
    writable()[id] = timestamp;
}

void TouchBeginTimes::erase(std::int64_t id)
{
    if (times_->contains(id)) {
        writable().erase(id);
    }
}

void TouchBeginTimes::clear()
{
    if (!times_->empty()) {
        times_ = std::make_shared<TouchBeginTimestamps>();
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
