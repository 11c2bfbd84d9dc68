#pragma once

#include "platform/Dispatch.h"
#include "platform/sim/SimQueue.h"

#include <memory>

namespace veltrane::sim {

class Scheduler;
class SimProcess;

// The queues of one process, all run by the desktop's scheduler.
class SimDispatch final : public platform::Dispatch {
public:
    SimDispatch(Scheduler& scheduler, SimProcess& process);

    SimQueue& mainQueue() override { return *mainQueue_; }
    std::shared_ptr<platform::Queue> makeSerialQueue(const std::string& label) override;

private:
    Scheduler& scheduler_;
    SimProcess& process_;
    std::shared_ptr<SimQueue> mainQueue_;
};

}  // namespace veltrane::sim
