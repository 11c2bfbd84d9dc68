#pragma once

#include "platform/Queue.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace veltrane::threads {

// The tasks of one thread that drains them: those ready to run and the timers not yet due, in the
// order they must run. A serial queue and the main loop each have one. Safe from any thread.
class TaskQueue {
public:
    using Task = platform::Queue::Task;

    void add(Task task);
    // A delay that is zero, negative or NaN adds the task now; one the clock cannot reach never runs it.
    void addAfter(double seconds, Task task);
    // Adds the task and waits until it has run, from a thread other than the one that drains the
    // queue; an exception of the task reaches the caller.
    void addAndWait(const Task& task);
    // Refuses new tasks: next() hands out the ready ones, then nothing. Timers not yet due are dropped.
    void stop();
    // The next() that waits, or the next one called, returns nothing once; the tasks stay queued.
    void interrupt();
    // Waits for the next task to run; nothing once stopped with nothing ready, or when interrupted.
    std::optional<Task> next();

    // For a thread that waits in a loop of its own rather than in next(): called, on the adding
    // thread, after each task or timer is added, so that the loop can come and take it.
    void onAdded(std::function<void()> added);
    // The next task ready to run, without waiting.
    std::optional<Task> takeReady();
    // When the earliest timer not yet due falls due, if there is one.
    std::optional<std::chrono::steady_clock::time_point> nextDue();

private:
    using Clock = std::chrono::steady_clock;

    struct Timer {
        Clock::time_point due;
        std::uint64_t order;
        Task task;
    };

    // Orders the timer heap so that the earliest due, then the earliest scheduled, is on top.
    static bool dueLater(const Timer& a, const Timer& b);
    void schedule(Task task, std::optional<Clock::time_point> due);
    void moveDueTimers();
    // With the lock held.
    std::optional<Task> popReady();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> ready_;
    std::vector<Timer> timers_;
    std::uint64_t scheduled_ = 0;
    bool stopping_ = false;
    bool interrupted_ = false;
    std::function<void()> added_;
};

}  // namespace veltrane::threads
