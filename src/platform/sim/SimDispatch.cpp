#include "platform/sim/SimDispatch.h"

#include "platform/threads/MainLoop.h"

namespace veltrane::sim {

namespace {

constexpr const char* kMainLabel = "main";

}  // namespace

SimDispatch::SimDispatch(Scheduler& scheduler, SimProcess& process, Execution execution)
    : scheduler_(scheduler), process_(process), execution_(execution)
{
    if (execution_ == Execution::virtualTime) {
        mainQueue_ = std::make_shared<SimQueue>(scheduler, kMainLabel, &process);
        return;
    }
    auto loop = std::make_unique<threads::MainLoop>(kMainLabel);
    mainLoop_ = loop.get();
    mainQueue_ = std::make_shared<SimQueue>(scheduler, std::move(loop), &process);
}

std::shared_ptr<platform::Queue> SimDispatch::makeSerialQueue(const std::string& label)
{
    auto queue = SimQueue::make(scheduler_, execution_, label, &process_);
    const std::lock_guard lock(mutex_);
    made_.push_back(queue);
    return queue;
}

std::vector<std::shared_ptr<SimQueue>> SimDispatch::queues() const
{
    std::vector<std::shared_ptr<SimQueue>> live{mainQueue_};
    const std::lock_guard lock(mutex_);
    for (const auto& made : made_) {
        if (auto queue = made.lock()) {
            live.push_back(std::move(queue));
        }
    }
    return live;
}

}  // namespace veltrane::sim
