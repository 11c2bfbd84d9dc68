#pragma once

#include "logging/LogRecord.h"

#include <atomic>
#include <cstddef>
#include <memory>

namespace logging {

// The calls a destination has taken and not yet emitted: a ring that any thread fills without a
// lock, emptied by one drain at a time on the destination's queue. Calls leave in the order they
// took their places.
class LineQueue {
public:
    enum class Pushed {
        queued,
        // Queued, and no drain is on its way: the caller schedules one.
        needsDrain,
        // Not queued: every place is taken, or lines that found it so are still on their way
        // around it, and this one must not overtake them.
        full,
    };

    // The capacity is a power of two.
    explicit LineQueue(std::size_t capacity = 256);

    Pushed push(const LogRecord::Call& call);
    // A line that found the ring full goes around it, through the destination's queue: from the
    // first such line until the last one is emitted, push() takes no more lines.
    void bypassBegun() { bypassing_.fetch_add(1); }
    void bypassEnded() { bypassing_.fetch_sub(1); }
    // Emits until the ring stays empty for a moment, then lets the next push schedule a drain.
    void drain(BaseDestination& destination);

private:
    struct Cell {
        // The position the cell waits to be filled for, or that position plus one once filled.
        std::atomic<std::size_t> sequence;
        LogRecord record;
    };

    bool emitNext(BaseDestination& destination);
    bool hasNext() const;
    // Waits a little for more calls, since waking the queue again costs more than a short spin.
    bool awaitMore() const;

    std::unique_ptr<Cell[]> cells_;
    std::size_t mask_;
    alignas(64) std::atomic<std::size_t> pushPosition_{0};
    // Touched only by the drain, which runs on one queue.
    alignas(64) std::size_t drainPosition_ = 0;
    alignas(64) std::atomic<bool> draining_{false};
    std::atomic<int> bypassing_{0};
};

}  // namespace logging
