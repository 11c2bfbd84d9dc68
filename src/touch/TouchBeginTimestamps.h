#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace veltrane {

// Begin time (seconds) of each live touch, by touch id. A frame holds a handful of touches, so a
// flat list in id order beats a tree; it keeps its capacity, so once warmed up a touch that begins
// or ends allocates nothing.
class TouchBeginTimestamps {
public:
    using Entry = std::pair<std::int64_t, double>;

    TouchBeginTimestamps() = default;
    TouchBeginTimestamps(std::initializer_list<Entry> entries);

    std::optional<double> find(std::int64_t id) const;
    void set(std::int64_t id, double timestamp);
    void erase(std::int64_t id);
    void clear() { entries_.clear(); }
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }

    bool operator==(const TouchBeginTimestamps&) const = default;

private:
    std::vector<Entry>::iterator lowerBound(std::int64_t id);

    std::vector<Entry> entries_;
};

}  // namespace veltrane
