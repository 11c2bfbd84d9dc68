#include "platform/threads/ThreadDispatch.h"

#include "platform/threads/SerialQueue.h"

namespace veltrane::threads {

std::shared_ptr<platform::Queue> ThreadDispatch::makeSerialQueue(const std::string& label)
{
    return std::make_shared<SerialQueue>(label);
}

}  // namespace veltrane::threads
