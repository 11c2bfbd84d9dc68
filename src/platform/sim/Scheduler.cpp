#include "platform/sim/Scheduler.h"

#include "platform/sim/SimQueue.h"

#include <cmath>
#include <limits>

namespace veltrane::sim {

namespace {

constexpr double kNanosPerSecond = 1e9;

class CurrentQueueGuard {
public:
    CurrentQueueGuard(SimQueue*& current, SimQueue* queue) : current_(current), saved_(current)
    {
        current_ = queue;
    }
    ~CurrentQueueGuard() { current_ = saved_; }
    CurrentQueueGuard(const CurrentQueueGuard&) = delete;
    CurrentQueueGuard& operator=(const CurrentQueueGuard&) = delete;

private:
    SimQueue*& current_;
    SimQueue* saved_;
};

}  // namespace

double Scheduler::nowSeconds() const
{
    return static_cast<double>(now_) / kNanosPerSecond;
}

std::optional<Scheduler::Nanos> Scheduler::delayToNanos(double seconds)
{
    if (std::isnan(seconds) || seconds <= 0.0) {
        return 0;
    }
    const double nanos = std::round(seconds * kNanosPerSecond);
    // Half the range leaves room for adding the delay to any reachable time.
    if (nanos >= static_cast<double>(std::numeric_limits<Nanos>::max() / 2)) {
        return std::nullopt;
    }
    return static_cast<Nanos>(nanos);
}

bool Scheduler::Later::operator()(const Entry& a, const Entry& b) const
{
    return a.due != b.due ? a.due > b.due : a.sequence > b.sequence;
}

void Scheduler::schedule(const std::shared_ptr<SimQueue>& queue, Nanos due, Task task)
{
    entries_.push(Entry{due < now_ ? now_ : due, nextSequence_++, queue, std::move(task)});
}

bool Scheduler::runNextDueBy(Nanos limit)
{
    if (entries_.empty() || entries_.top().due > limit) {
        return false;
    }
    Entry entry = entries_.top();
    entries_.pop();
    now_ = entry.due;
    if (const auto queue = entry.queue.lock()) {
        queue->run(entry.task);
    }
    return true;
}

void Scheduler::runUntilIdle()
{
    while (runNextDueBy(now_)) {
    }
}

void Scheduler::advance(double seconds)
{
    const auto delta = delayToNanos(seconds);
    if (!delta) {
        return;
    }
    const Nanos limit = now_ + *delta;
    while (runNextDueBy(limit)) {
    }
    now_ = limit;
}

void Scheduler::runOn(SimQueue& queue, const Task& task)
{
    CurrentQueueGuard guard(current_, &queue);
    task();
}

}  // namespace veltrane::sim
