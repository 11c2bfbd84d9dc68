#pragma once

#include "platform/Queue.h"
#include "platform/threads/TaskQueue.h"

#include <string>

namespace veltrane::threads {

// A main queue whose tasks wait in a task queue until the one thread that drains it takes them: the
// plain main loop, or a toolkit's event loop. A sync from that thread runs at once.
class DrainedQueue : public platform::Queue {
public:
    explicit DrainedQueue(std::string label) : label_(std::move(label)) {}

    void async(Task task) final { tasks_.add(std::move(task)); }
    void asyncAfter(double seconds, Task task) final { tasks_.addAfter(seconds, std::move(task)); }
    void sync(const Task& task) final
    {
        if (isCurrent()) {
            task();
        } else {
            tasks_.addAndWait(task);
        }
    }
    const std::string& label() const final { return label_; }

protected:
    // Runs a task the queue took. An exception escaping it is dropped, as a serial queue drops it:
    // the loop must outlive a faulty task.
    static void run(const Task& task)
    {
        try {
            task();
        } catch (...) {
        }
    }

    TaskQueue tasks_;

private:
    std::string label_;
};

}  // namespace veltrane::threads
