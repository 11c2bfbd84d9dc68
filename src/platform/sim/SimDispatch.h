#pragma once

#include "platform/Dispatch.h"
#include "platform/sim/Execution.h"
#include "platform/sim/SimQueue.h"

#include <memory>
#include <mutex>
#include <vector>

namespace veltrane::threads {
class MainLoop;
}  // namespace veltrane::threads

namespace veltrane::sim {

class Scheduler;
class SimProcess;

// The queues of one process: run by the desktop's scheduler, or each on a thread of its own.
class SimDispatch final : public platform::Dispatch {
public:
    SimDispatch(Scheduler& scheduler, SimProcess& process, Execution execution);

    SimQueue& mainQueue() override { return *mainQueue_; }
    std::shared_ptr<platform::Queue> makeSerialQueue(const std::string& label) override;
    // The loop that runs the main queue on real threads, which its runner calls; nothing on
    // virtual time.
    threads::MainLoop* mainLoop() const { return mainLoop_; }
    // The main queue and every serial queue made that is still in use.
    std::vector<std::shared_ptr<SimQueue>> queues() const;

private:
    Scheduler& scheduler_;
    SimProcess& process_;
    const Execution execution_;
    threads::MainLoop* mainLoop_ = nullptr;
    std::shared_ptr<SimQueue> mainQueue_;
    mutable std::mutex mutex_;
    std::vector<std::weak_ptr<SimQueue>> made_;
};

}  // namespace veltrane::sim
