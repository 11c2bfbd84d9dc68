#include "touch/TouchSet.h"

#include <algorithm>

namespace veltrane {

bool TouchSet::insert(const Touch& touch)
{
    if (std::find(begin(), end(), touch) != end()) {
        return false;
    }
    if (spilled_.empty() && size_ < kInPlace) {
        inPlace_[size_] = touch;
    } else {
        if (spilled_.empty()) {
            spilled_.assign(inPlace_.begin(), inPlace_.end());
        }
        spilled_.push_back(touch);
    }
    ++size_;
    return true;
}

}  // namespace veltrane
