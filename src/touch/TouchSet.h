#pragma once

#include "touch/Touch.h"

#include <array>
#include <cstddef>
#include <vector>

namespace veltrane {

// The touches of one frame as a set: a touch equal to one already held is not added again. A
// frame holds a handful of touches, so a flat list beats hashing; that handful is held in place,
// so that a frame is made without allocating, and only a crowd of touches goes to the heap.
class TouchSet {
public:
    using const_iterator = const Touch*;

    // False when an equal touch is already in the set.
    bool insert(const Touch& touch);

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const_iterator begin() const { return spilled_.empty() ? inPlace_.data() : spilled_.data(); }
    const_iterator end() const { return begin() + size_; }

private:
    static constexpr std::size_t kInPlace = 16;

    std::array<Touch, kInPlace> inPlace_{};
    std::vector<Touch> spilled_;
    std::size_t size_ = 0;
};

}  // namespace veltrane
