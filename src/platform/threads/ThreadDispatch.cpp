#include "platform/threads/ThreadDispatch.h"

#include "platform/threads/MainTargetedQueue.h"
#include "platform/threads/SerialQueue.h"

#include <algorithm>

namespace veltrane::threads {

std::shared_ptr<platform::Queue> ThreadDispatch::makeSerialQueue(const std::string& label)
{
    if (std::find(labelsOnMainQueue_.begin(), labelsOnMainQueue_.end(), label) != labelsOnMainQueue_.end()) {
        return std::make_shared<MainTargetedQueue>(label, mainQueue_);
    }
    return std::make_shared<SerialQueue>(label);
}

}  // namespace veltrane::threads
