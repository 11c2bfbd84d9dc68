#pragma once

#include "platform/Queue.h"
#include "platform/threads/TaskQueue.h"

#include <atomic>
#include <string>
#include <thread>

namespace veltrane::threads {

// The main queue of a program without a graphical event loop: its tasks run on whichever thread
// calls run(), until quit(). Like a serial queue, it drops an exception escaping an async or
// delayed task and hands one escaping a sync task to the caller.
class MainLoop final : public platform::Queue {
public:
    explicit MainLoop(std::string label = "main") : label_(std::move(label)) {}
    // Tasks still queued are dropped.
    ~MainLoop() override = default;
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    // Runs the tasks as they come, on the calling thread, until quit() is called.
    void run();
    // From any thread: run() returns once the task it is running, if any, has finished. Tasks
    // still queued wait for the next run().
    void quit();

    void async(Task task) override;
    void asyncAfter(double seconds, Task task) override;
    void sync(const Task& task) override;
    const std::string& label() const override { return label_; }
    bool isCurrent() const override;

private:
    std::string label_;
    TaskQueue tasks_;
    // The thread inside run(), or none.
    std::atomic<std::thread::id> runner_;
};

}  // namespace veltrane::threads
