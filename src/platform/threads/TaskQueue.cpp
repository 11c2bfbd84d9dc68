#include "platform/threads/TaskQueue.h"

#include <algorithm>
#include <exception>
#include <latch>
#include <limits>
#include <tuple>
#include <utility>

namespace veltrane::threads {

namespace {

using Clock = std::chrono::steady_clock;

// The time a delay of a positive number of seconds falls due, or nothing when the clock cannot reach it.
std::optional<Clock::time_point> dueTime(double seconds)
{
    const auto now = Clock::now();
    const std::chrono::duration<double, Clock::period> exact = std::chrono::duration<double>(seconds);
    const double ticks = exact.count();
    // Converting a double beyond the tick type's range is undefined, so the range is checked in double.
    if (!(ticks < static_cast<double>(std::numeric_limits<Clock::rep>::max()))) {
        return std::nullopt;
    }
    const Clock::duration delay{static_cast<Clock::rep>(ticks)};
    if (delay > Clock::time_point::max() - now) {
        return std::nullopt;
    }
    return now + delay;
}

}  // namespace

bool TaskQueue::dueLater(const Timer& a, const Timer& b)
{
    return std::tie(a.due, a.order) > std::tie(b.due, b.order);
}

void TaskQueue::add(Task task)
{
    schedule(std::move(task), std::nullopt);
}

void TaskQueue::addAfter(double seconds, Task task)
{
    if (!(seconds > 0)) {
        add(std::move(task));
    } else if (auto due = dueTime(seconds)) {
        schedule(std::move(task), due);
    }
}

void TaskQueue::schedule(Task task, std::optional<Clock::time_point> due)
{
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        if (due) {
            timers_.push_back({*due, scheduled_++, std::move(task)});
            std::push_heap(timers_.begin(), timers_.end(), dueLater);
        } else {
            ready_.push_back(std::move(task));
        }
    }
    wake_.notify_one();
    if (added_) {
        added_();
    }
}

void TaskQueue::addAndWait(const Task& task)
{
    std::exception_ptr failure;
    std::latch done(1);
    add([&] {
        try {
            task();
        } catch (...) {
            failure = std::current_exception();
        }
        done.count_down();
    });
    done.wait();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void TaskQueue::stop()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
}

void TaskQueue::interrupt()
{
    {
        const std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    wake_.notify_one();
}

std::optional<TaskQueue::Task> TaskQueue::next()
{
    std::unique_lock lock(mutex_);
    while (true) {
        if (std::exchange(interrupted_, false)) {
            return std::nullopt;
        }
        if (auto task = popReady()) {
            return task;
        }
        if (stopping_) {
            return std::nullopt;
        }
        if (timers_.empty()) {
            wake_.wait(lock);
        } else {
            // A copy: while the wait lets the lock go, another thread may add a timer and move the heap.
            const Clock::time_point due = timers_.front().due;
            wake_.wait_until(lock, due);
        }
    }
}

void TaskQueue::onAdded(std::function<void()> added)
{
    added_ = std::move(added);
}

std::optional<TaskQueue::Task> TaskQueue::takeReady()
{
    const std::lock_guard lock(mutex_);
    return popReady();
}

std::optional<TaskQueue::Clock::time_point> TaskQueue::nextDue()
{
    const std::lock_guard lock(mutex_);
    if (timers_.empty()) {
        return std::nullopt;
    }
    return timers_.front().due;
}

std::optional<TaskQueue::Task> TaskQueue::popReady()
{
    moveDueTimers();
    if (ready_.empty()) {
        return std::nullopt;
    }
    Task task = std::move(ready_.front());
    ready_.pop_front();
    return task;
}

// A due timer joins the back of the ready tasks, so it cannot overtake tasks queued before it fell due.
void TaskQueue::moveDueTimers()
{
    if (timers_.empty()) {
        return;
    }
    const auto now = Clock::now();
    while (!timers_.empty() && timers_.front().due <= now) {
        std::pop_heap(timers_.begin(), timers_.end(), dueLater);
        ready_.push_back(std::move(timers_.back().task));
        timers_.pop_back();
    }
}

}  // namespace veltrane::threads
