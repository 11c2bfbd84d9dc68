#include "platform/threads/SerialQueue.h"

#include "platform/threads/TaskQueue.h"

#include <pthread.h>

#include <cstddef>
#include <utility>

namespace veltrane::threads {

namespace {

// Linux refuses thread names longer than this.
constexpr std::size_t maxThreadNameLength = 15;

}  // namespace

struct SerialQueue::State {
    explicit State(const SerialQueue* queue) : owner(queue) {}

    TaskQueue tasks;
    // Read and cleared only on the queue's own thread once it has started.
    const SerialQueue* owner;
};

thread_local const SerialQueue::State* SerialQueue::running_ = nullptr;

SerialQueue::SerialQueue(std::string label)
    : label_(std::move(label)), state_(std::make_shared<State>(this)),
      thread_(&SerialQueue::run, state_, label_)
{
}

SerialQueue::~SerialQueue()
{
    state_->tasks.stop();
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
    while (auto task = state->tasks.next()) {
        try {
            (*task)();
        } catch (...) {
            // Dropped: the queue must outlive a faulty task, and there is no caller to report to.
        }
    }
}

void SerialQueue::async(Task task)
{
    state_->tasks.add(std::move(task));
}

void SerialQueue::asyncAfter(double seconds, Task task)
{
    state_->tasks.addAfter(seconds, std::move(task));
}

void SerialQueue::sync(const Task& task)
{
    if (isCurrent()) {
        task();
    } else {
        state_->tasks.addAndWait(task);
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
