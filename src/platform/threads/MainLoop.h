#pragma once

#include "platform/threads/DrainedQueue.h"

#include <atomic>
#include <string>
#include <thread>

namespace veltrane::threads {

// The main queue of a program without a graphical event loop: its tasks run on whichever thread
// calls run(), until quit(). Like a serial queue, it drops an exception escaping an async or
// delayed task and hands one escaping a sync task to the caller.
class MainLoop final : public DrainedQueue {
public:
    explicit MainLoop(std::string label = "main") : DrainedQueue(std::move(label)) {}
    // Tasks still queued are dropped.
    ~MainLoop() override = default;
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    // Runs the tasks as they come, on the calling thread, until quit() is called.
    void run();
    // From any thread: run() returns once the task it is running, if any, has finished. Tasks
    // still queued wait for the next run().
    void quit();

    bool isCurrent() const override;

private:
    // The thread inside run(), or none.
    std::atomic<std::thread::id> runner_;
};

}  // namespace veltrane::threads
