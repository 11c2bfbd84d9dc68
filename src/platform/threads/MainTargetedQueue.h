#pragma once

#include "platform/Queue.h"

#include <string>

namespace veltrane::threads {

// A serial queue with a name of its own whose tasks run on a main queue, in one order with the
// main queue's own tasks: serial because the main queue is. A sync between the two never switches
// threads, and never waits for a task that waits in turn.
class MainTargetedQueue final : public platform::Queue {
public:
    MainTargetedQueue(std::string label, platform::Queue& mainQueue)
        : label_(std::move(label)), mainQueue_(mainQueue)
    {
    }

    void async(Task task) override { mainQueue_.async(std::move(task)); }
    void asyncAfter(double seconds, Task task) override { mainQueue_.asyncAfter(seconds, std::move(task)); }
    void sync(const Task& task) override { mainQueue_.sync(task); }
    const std::string& label() const override { return label_; }
    bool isCurrent() const override { return mainQueue_.isCurrent(); }

private:
    std::string label_;
    platform::Queue& mainQueue_;
};

}  // namespace veltrane::threads
