#pragma once

#include <functional>
#include <string>

namespace veltrane::platform {

// A serial queue: tasks run one at a time, in the order they were queued, on one logical thread.
// Delays are seconds; a delay that is zero, negative or NaN runs the task as soon as possible, and
// one too large for the queue's clock (infinity included) never runs it.
class Queue {
public:
    using Task = std::function<void()>;

    virtual ~Queue() = default;

    virtual void async(Task task) = 0;
    virtual void asyncAfter(double seconds, Task task) = 0;
    // Runs the task on the queue and returns when it has run. Called from the queue itself, the
    // task runs at once instead of waiting for itself.
    virtual void sync(const Task& task) = 0;

    virtual const std::string& label() const = 0;
    // Whether the calling code is running on this queue.
    virtual bool isCurrent() const = 0;
};

}  // namespace veltrane::platform
