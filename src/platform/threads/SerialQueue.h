#pragma once

#include "platform/Queue.h"

#include <memory>
#include <string>
#include <thread>

namespace veltrane::threads {

// A queue with an operating-system thread of its own, named after the label.
// An exception escaping an async or delayed task is dropped, so later tasks still run; tasks are
// expected not to throw. An exception escaping a sync task reaches the caller of sync.
class SerialQueue final : public platform::Queue {
public:
    explicit SerialQueue(std::string label);
    // Refuses new tasks, runs those already queued, drops the timers not yet due and ends the thread.
    // Destroyed by one of its own tasks, the queue leaves its thread to run the rest of the queued
    // tasks after the destructor returns; on that thread current() is then nullptr.
    ~SerialQueue() override;

    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(Task task) override;
    void asyncAfter(double seconds, Task task) override;
    void sync(const Task& task) override;

    const std::string& label() const override;
    bool isCurrent() const override;

    // The queue the caller runs on, or nullptr off every serial queue.
    static const SerialQueue* current();

private:
    struct State;

    static void run(const std::shared_ptr<State>& state, const std::string& label);

    // The state of the queue whose thread this is, if any.
    static thread_local const State* running_;

    std::string label_;
    // Shared with the thread, which may outlive this object when it destroys its own queue.
    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace veltrane::threads
