#pragma once

#include "platform/linux/reactor/FileDescriptor.h"
#include "platform/linux/reactor/Reactor.h"
#include "platform/threads/DrainedQueue.h"

#include <atomic>
#include <string>
#include <thread>

namespace veltrane::linuxbackend {

// The main queue of a program without a graphical event loop, run by the reactor: its tasks come
// between the reactor's other sources, on the thread that calls run(). Like the plain main loop,
// it drops an exception escaping an async or delayed task and hands one escaping a sync task to
// the caller.
class ReactorLoop final : public threads::DrainedQueue {
public:
    // Throws std::system_error when the loop cannot be made.
    explicit ReactorLoop(Reactor& reactor, std::string label = "main");
    ReactorLoop(const ReactorLoop&) = delete;
    ReactorLoop& operator=(const ReactorLoop&) = delete;

    // Runs the reactor on the calling thread until quit().
    void run();
    // From any thread: run() returns once the task or source running now, if any, returns. Tasks
    // still queued wait for the next run().
    void quit();

    // On the thread that runs the loop, or ran it last: once the loop has stopped, what that thread
    // still does on the queue (the program's orderly end) runs there at once.
    bool isCurrent() const override;

private:
    void wake();
    void drain();

    Reactor& reactor_;
    FileDescriptor wakeFd_;
    Reactor::Source woken_;
    // The earliest delayed task, when there is one.
    Reactor::Source due_;
    std::atomic<bool> quitting_ = false;
    // The thread that runs the loop, or ran it last.
    std::atomic<std::thread::id> runner_;
};

}  // namespace veltrane::linuxbackend
