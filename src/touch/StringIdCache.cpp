#include "touch/StringIdCache.h"

#include "touch/Touch.h"

#include <algorithm>

namespace veltrane {

StringIdCache::StringIdCache()
{
    entries_.reserve(kEntries);
}

const StringId& StringIdCache::of(std::int64_t id, std::optional<double> beginTime)
{
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return entry.id == id && entry.beginTime == beginTime;
    });
    if (found != entries_.end()) {
        return found->text;
    }
    Entry entry{id, beginTime, Touch::makeStringId(id, beginTime)};
    if (entries_.size() < kEntries) {
        return entries_.emplace_back(entry).text;
    }
    // The oldest entry goes.
    Entry& replaced = entries_[next_];
    next_ = (next_ + 1) % kEntries;
    replaced = entry;
    return replaced.text;
}

}  // namespace veltrane
