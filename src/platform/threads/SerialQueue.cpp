#include "platform/threads/SerialQueue.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <latch>
#include <limits>
#include <mutex>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace veltrane::threads {

namespace {

using Clock = std::chrono::steady_clock;
using Task = platform::Queue::Task;

// Linux refuses thread names longer than this.
constexpr std::size_t maxThreadNameLength = 15;

struct Timer {
    Clock::time_point due;
    std::uint64_t order;
    Task task;
};

// Orders the timer heap so that the earliest due, then the earliest scheduled, is on top.
bool dueLater(const Timer& a, const Timer& b)
{
    return std::tie(a.due, a.order) > std::tie(b.due, b.order);
}

// The time a delay of a positive number of seconds falls due, or nullopt when the clock cannot reach it.
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

struct SerialQueue::State {
    explicit State(const SerialQueue* queue) : owner(queue) {}

    void schedule(Task task, std::optional<Clock::time_point> due)
    {
        {
            const std::lock_guard lock(mutex);
            if (stopping) {
                return;
            }
            if (due) {
                timers.push_back({*due, scheduled++, std::move(task)});
                std::push_heap(timers.begin(), timers.end(), dueLater);
            } else {
                ready.push_back(std::move(task));
            }
        }
        wake.notify_one();
    }

    void stop()
    {
        {
            const std::lock_guard lock(mutex);
            stopping = true;
        }
        wake.notify_one();
    }

    // Waits for the next task to run, or returns nullopt once stopped with nothing left to run.
    std::optional<Task> next()
    {
        std::unique_lock lock(mutex);
        while (true) {
            moveDueTimers();
            if (!ready.empty()) {
                Task task = std::move(ready.front());
                ready.pop_front();
                return task;
            }
            if (stopping) {
                return std::nullopt;
            }
            if (timers.empty()) {
                wake.wait(lock);
            } else {
                wake.wait_until(lock, timers.front().due);
            }
        }
    }

    // A due timer joins the back of the ready tasks, so it cannot overtake tasks queued before it fell due.
    void moveDueTimers()
    {
        if (timers.empty()) {
            return;
        }
        const auto now = Clock::now();
        while (!timers.empty() && timers.front().due <= now) {
            std::pop_heap(timers.begin(), timers.end(), dueLater);
            ready.push_back(std::move(timers.back().task));
            timers.pop_back();
        }
    }

    // Read and cleared only on the queue's own thread once it has started.
    const SerialQueue* owner;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Task> ready;
    std::vector<Timer> timers;
    std::uint64_t scheduled = 0;
    bool stopping = false;
};

thread_local const SerialQueue::State* SerialQueue::running_ = nullptr;

SerialQueue::SerialQueue(std::string label)
    : label_(std::move(label)), state_(std::make_shared<State>(this)),
      thread_(&SerialQueue::run, state_, label_)
{
}

SerialQueue::~SerialQueue()
{
    state_->stop();
    if (isCurrent()) {
        state_->owner = nullptr;
        thread_.detach();
    } else {
        thread_.join();
    }
}

void SerialQueue::run(const std::shared_ptr<State>& state, const std::string& label)
{
    pthread_setname_np(pthread_self(), label.substr(0, maxThreadNameLength).c_str());
    running_ = state.get();
    while (auto task = state->next()) {
        try {
            (*task)();
        } catch (...) {
            // Dropped: the queue must outlive a faulty task, and there is no caller to report to.
        }
    }
}

void SerialQueue::async(Task task)
{
    state_->schedule(std::move(task), std::nullopt);
}

void SerialQueue::asyncAfter(double seconds, Task task)
{
    if (!(seconds > 0)) {
        async(std::move(task));
    } else if (auto due = dueTime(seconds)) {
        state_->schedule(std::move(task), due);
    }
}

void SerialQueue::sync(const Task& task)
{
    if (isCurrent()) {
        task();
        return;
    }
    std::exception_ptr failure;
    std::latch done(1);
    async([&] {
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

const std::string& SerialQueue::label() const
{
    return label_;
}

bool SerialQueue::isCurrent() const
{
    return running_ == state_.get();
}

const SerialQueue* SerialQueue::current()
{
    return running_ != nullptr ? running_->owner : nullptr;
}

}  // namespace veltrane::threads
