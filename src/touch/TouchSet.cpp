#include "touch/TouchSet.h"

#include <algorithm>
#include <utility>

namespace veltrane {

bool TouchSet::insert(Touch touch)
{
    if (std::find(touches_.begin(), touches_.end(), touch) != touches_.end()) {
        return false;
    }
    touches_.push_back(std::move(touch));
    return true;
}

}  // namespace veltrane
