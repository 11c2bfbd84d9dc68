#include "platform/sim/SimSystem.h"

#include "platform/sim/SimProcess.h"

namespace veltrane::sim {

void SimSystem::exit(int status)
{
    process_.exit(status);
}

}  // namespace veltrane::sim
