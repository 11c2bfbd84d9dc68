#include "platform/sim/SimQueue.h"

#include "platform/sim/Scheduler.h"
#include "platform/sim/SimProcess.h"

namespace veltrane::sim {

SimQueue::SimQueue(Scheduler& scheduler, std::string label, SimProcess* process)
    : scheduler_(scheduler), label_(std::move(label)), process_(process)
{
}

SimQueue::~SimQueue()
{
    scheduler_.waits().forget(*this);
}

void SimQueue::async(Task task)
{
    scheduler_.schedule(shared_from_this(), scheduler_.now(), std::move(task));
}

void SimQueue::asyncAfter(double seconds, Task task)
{
    if (const auto delay = Scheduler::delayToNanos(seconds)) {
        scheduler_.schedule(shared_from_this(), scheduler_.now() + *delay, std::move(task));
    }
}

void SimQueue::sync(const Task& task)
{
    const SimQueue* waiter = scheduler_.current();
    if (waiter != nullptr && waiter != this) {
        scheduler_.waits().wait(*waiter, *this);
    }
    run(task);
}

bool SimQueue::isCurrent() const
{
    return scheduler_.current() == this;
}

void SimQueue::run(const Task& task)
{
    if (process_ == nullptr) {
        scheduler_.runOn(*this, task);
    } else if (process_->alive()) {
        process_->runTask([&] { scheduler_.runOn(*this, task); });
    }
}

}  // namespace veltrane::sim
