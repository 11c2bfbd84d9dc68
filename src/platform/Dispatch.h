#pragma once

#include "platform/Queue.h"

#include <memory>
#include <string>

namespace veltrane::platform {

// The process's queues: the main queue, which runs the user interface, the event tap and every
// delayed step, and serial queues that a component creates for a thread of its own.
class Dispatch {
public:
    virtual ~Dispatch() = default;

    virtual Queue& mainQueue() = 0;
    virtual std::shared_ptr<Queue> makeSerialQueue(const std::string& label) = 0;
};

}  // namespace veltrane::platform
