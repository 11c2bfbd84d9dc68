#include "platform/sim/SimDispatch.h"

namespace veltrane::sim {

SimDispatch::SimDispatch(Scheduler& scheduler, SimProcess& process)
    : scheduler_(scheduler), process_(process),
      mainQueue_(std::make_shared<SimQueue>(scheduler, "main", &process))
{
}

std::shared_ptr<platform::Queue> SimDispatch::makeSerialQueue(const std::string& label)
{
    return std::make_shared<SimQueue>(scheduler_, label, &process_);
}

}  // namespace veltrane::sim
