#pragma once

#include "platform/Queue.h"
#include "platform/threads/MainLoop.h"

#include <string>

namespace veltrane::threads {

// A serial queue with a name of its own whose tasks run on a main loop, in one order with the
// loop's own tasks: serial because the loop is. A sync between the two never switches threads,
// and never waits for a task that waits in turn.
class MainTargetedQueue final : public platform::Queue {
public:
    MainTargetedQueue(std::string label, MainLoop& mainLoop) : label_(std::move(label)), mainLoop_(mainLoop)
    {
    }

    void async(Task task) override { mainLoop_.async(std::move(task)); }
    void asyncAfter(double seconds, Task task) override { mainLoop_.asyncAfter(seconds, std::move(task)); }
    void sync(const Task& task) override { mainLoop_.sync(task); }
    const std::string& label() const override { return label_; }
    bool isCurrent() const override { return mainLoop_.isCurrent(); }

private:
    std::string label_;
    MainLoop& mainLoop_;
};

}  // namespace veltrane::threads
