#pragma once

#include "touch/Touch.h"

#include <cstddef>
#include <vector>

namespace veltrane {

// The touches of one frame as a set: a touch equal to one already held is not added again. A
// frame holds a handful of touches, so a flat list beats hashing, and it is one allocation.
class TouchSet {
public:
    using const_iterator = std::vector<Touch>::const_iterator;

    // False when an equal touch is already in the set.
    bool insert(Touch touch);
    void reserve(std::size_t count) { touches_.reserve(count); }

    std::size_t size() const { return touches_.size(); }
    bool empty() const { return touches_.empty(); }
    const_iterator begin() const { return touches_.begin(); }
    const_iterator end() const { return touches_.end(); }

private:
    std::vector<Touch> touches_;
};

}  // namespace veltrane
