#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace veltrane {

// The path indices of the contacts that one tracker rule holds. A rule holds a handful at a time,
// so a flat list beats hashing; it keeps its capacity, so once warmed up no frame allocates.
class PathSet {
public:
    bool contains(std::int32_t path) const
    {
        return std::find(paths_.begin(), paths_.end(), path) != paths_.end();
    }

    // False when the path was already held.
    bool insert(std::int32_t path)
    {
        if (contains(path)) {
            return false;
        }
        paths_.push_back(path);
        return true;
    }

    void erase(std::int32_t path)
    {
        const auto found = std::find(paths_.begin(), paths_.end(), path);
        if (found != paths_.end()) {
            *found = paths_.back();
            paths_.pop_back();
        }
    }

private:
    std::vector<std::int32_t> paths_;
};

}  // namespace veltrane
