#include "touch/TouchBeginTimestamps.h"

#include <algorithm>

namespace veltrane {

TouchBeginTimestamps::TouchBeginTimestamps(std::initializer_list<Entry> entries)
{
    for (const auto& [id, timestamp] : entries) {
        set(id, timestamp);
    }
}

std::optional<double> TouchBeginTimestamps::find(std::int64_t id) const
{
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [id](const Entry& entry) { return entry.first == id; });
    return found == entries_.end() ? std::nullopt : std::optional<double>(found->second);
}

void TouchBeginTimestamps::set(std::int64_t id, double timestamp)
{
    const auto at = lowerBound(id);
    if (at != entries_.end() && at->first == id) {
        at->second = timestamp;
    } else {
        entries_.insert(at, {id, timestamp});
    }
}

void TouchBeginTimestamps::erase(std::int64_t id)
{
    const auto at = lowerBound(id);
    if (at != entries_.end() && at->first == id) {
        entries_.erase(at);
    }
}

std::vector<TouchBeginTimestamps::Entry>::iterator TouchBeginTimestamps::lowerBound(std::int64_t id)
{
    return std::lower_bound(entries_.begin(), entries_.end(), id,
                            [](const Entry& entry, std::int64_t wanted) { return entry.first < wanted; });
}

}  // namespace veltrane
