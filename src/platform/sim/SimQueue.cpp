#include "platform/sim/SimQueue.h"

#include "platform/sim/Scheduler.h"
#include "platform/sim/SimProcess.h"
#include "platform/threads/SerialQueue.h"

namespace veltrane::sim {

std::shared_ptr<SimQueue> SimQueue::make(Scheduler& scheduler, Execution execution, const std::string& label,
                                         SimProcess* process)
{
    if (execution == Execution::virtualTime) {
        return std::make_shared<SimQueue>(scheduler, label, process);
    }
    return std::make_shared<SimQueue>(scheduler, std::make_unique<threads::SerialQueue>(label), process);
}

SimQueue::SimQueue(Scheduler& scheduler, std::string label, SimProcess* process)
    : scheduler_(scheduler), label_(std::move(label)), process_(process)
{
}

SimQueue::SimQueue(Scheduler& scheduler, std::unique_ptr<platform::Queue> thread, SimProcess* process)
    : scheduler_(scheduler), label_(thread->label()), process_(process), thread_(std::move(thread))
{
}

SimQueue::~SimQueue()
{
    if (!thread_) {
        scheduler_.waits().forget(*this);
    }
}

SimQueue::Task SimQueue::onThread(Task task)
{
    return [self = weak_from_this(), task = std::move(task)] {
        if (const auto queue = self.lock()) {
            queue->run(task);
        }
    };
}

void SimQueue::async(Task task)
{
    if (thread_) {
        thread_->async(onThread(std::move(task)));
        return;
    }
    scheduler_.schedule(shared_from_this(), scheduler_.now(), std::move(task));
}

void SimQueue::asyncAfter(double seconds, Task task)
{
    if (thread_) {
        thread_->asyncAfter(seconds, onThread(std::move(task)));
        return;
    }
    if (const auto delay = Scheduler::delayToNanos(seconds)) {
        scheduler_.schedule(shared_from_this(), scheduler_.now() + *delay, std::move(task));
    }
}

void SimQueue::sync(const Task& task)
{
    if (thread_) {
        thread_->sync([&] { run(task); });
        return;
    }
    const SimQueue* waiter = scheduler_.current();
    if (waiter != nullptr && waiter != this) {
        scheduler_.waits().wait(*waiter, *this);
    }
    run(task);
}

bool SimQueue::isCurrent() const
{
    return thread_ ? thread_->isCurrent() : scheduler_.current() == this;
}

void SimQueue::run(const Task& task)
{
    const auto body = [&] {
        if (thread_) {
            task();
        } else {
            scheduler_.runOn(*this, task);
        }
    };
    if (process_ == nullptr) {
        body();
    } else if (process_->alive()) {
        process_->runTask(body);
    }
}

}  // namespace veltrane::sim
