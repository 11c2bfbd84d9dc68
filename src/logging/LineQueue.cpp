#include "logging/LineQueue.h"

#include <chrono>
#include <cstdint>
#include <thread>

namespace logging {

namespace {

constexpr std::chrono::microseconds spinLimit{50};

}  // namespace

LineQueue::LineQueue(std::size_t capacity) : cells_(new Cell[capacity]), mask_(capacity - 1)
{
    for (std::size_t position = 0; position < capacity; ++position) {
        cells_[position].sequence.store(position, std::memory_order_relaxed);
    }
}

LineQueue::Pushed LineQueue::push(const LogRecord::Call& call)
{
    if (bypassing_.load() > 0) {
        return Pushed::full;
    }
    std::size_t position = pushPosition_.load(std::memory_order_relaxed);
    while (true) {
        Cell& cell = cells_[position & mask_];
        const auto lag = static_cast<std::intptr_t>(cell.sequence.load(std::memory_order_acquire) - position);
        if (lag < 0) {
            return Pushed::full;
        }
        if (lag > 0) {
            position = pushPosition_.load(std::memory_order_relaxed);
        } else if (pushPosition_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) {
            cell.record.assign(call);
            // Sequentially consistent, as are the drain's last steps: either the drain sees this
            // call, or this push sees that no drain is on its way.
            cell.sequence.store(position + 1);
            break;
        }
    }
    if (draining_.load() || draining_.exchange(true)) {
        return Pushed::queued;
    }
    return Pushed::needsDrain;
}

void LineQueue::drain(BaseDestination& destination)
{
    while (true) {
        while (emitNext(destination)) {
        }
        if (awaitMore()) {
            continue;
        }
        draining_.store(false);
        // A call that came in meanwhile is this drain's, unless its push has scheduled another.
        if (!hasNext() || draining_.exchange(true)) {
            return;
        }
    }
}

bool LineQueue::emitNext(BaseDestination& destination)
{
    if (!hasNext()) {
        return false;
    }
    Cell& cell = cells_[drainPosition_ & mask_];
    cell.record.emitTo(destination);
    cell.sequence.store(drainPosition_ + mask_ + 1, std::memory_order_release);
    ++drainPosition_;
    return true;
}

bool LineQueue::hasNext() const
{
    return cells_[drainPosition_ & mask_].sequence.load() == drainPosition_ + 1;
}

bool LineQueue::awaitMore() const
{
    const auto until = std::chrono::steady_clock::now() + spinLimit;
    while (std::chrono::steady_clock::now() < until) {
        if (hasNext()) {
            return true;
        }
        std::this_thread::yield();
    }
    return false;
}

}  // namespace logging
