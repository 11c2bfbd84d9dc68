#pragma once

#include "platform/sim/WaitGraph.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <queue>
#include <vector>

namespace veltrane::sim {

class SimQueue;

// Virtual time and the one driver that runs every logical queue of the simulated desktop.
// Tasks run in the order of their due time, and tasks due at the same time in the order they
// were scheduled, whatever queue they belong to; time moves only with advance().
class Scheduler {
public:
    using Nanos = std::int64_t;
    using Task = std::function<void()>;

    Nanos now() const { return now_; }
    double nowSeconds() const;

    // Schedules a task on a queue; it is dropped if the queue is gone when it falls due.
    void schedule(const std::shared_ptr<SimQueue>& queue, Nanos due, Task task);
    // Runs everything due now, including what those tasks schedule for now.
    void runUntilIdle();
    // Moves time forward by that many seconds, running every task that falls due on the way at
    // its own time. A delay too large for the clock does nothing.
    void advance(double seconds);

    // The queue whose task is running, or nothing outside any task.
    SimQueue* current() const { return current_; }
    // Runs the task as if on that queue, then restores the queue that was current.
    void runOn(SimQueue& queue, const Task& task);
    // Every synchronous wait of one queue for another seen so far.
    WaitGraph& waits() { return waits_; }

    // Converts a delay in seconds to a due time; nothing for a delay too large to ever fall due.
    static std::optional<Nanos> delayToNanos(double seconds);

private:
    struct Entry {
        Nanos due;
        std::uint64_t sequence;
        std::weak_ptr<SimQueue> queue;
        Task task;
    };
    struct Later {
        bool operator()(const Entry& a, const Entry& b) const;
    };

    bool runNextDueBy(Nanos limit);

    Nanos now_ = 0;
    std::uint64_t nextSequence_ = 0;
    SimQueue* current_ = nullptr;
    WaitGraph waits_;
    std::priority_queue<Entry, std::vector<Entry>, Later> entries_;
};

}  // namespace veltrane::sim
