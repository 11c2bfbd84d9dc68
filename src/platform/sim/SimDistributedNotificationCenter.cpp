#include "platform/sim/SimDistributedNotificationCenter.h"

#include "platform/sim/SimQueue.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

SimDistributedNotificationCenter::SimDistributedNotificationCenter(Transcript& transcript,
                                                                   SimQueue& mainQueue, Bus bus)
    : LocalDistributedNotificationCenter(mainQueue), transcript_(transcript), bus_(std::move(bus))
{
}

void SimDistributedNotificationCenter::post(const std::string& name, const std::optional<std::string>& object)
{
    transcript_.record("distributed", object ? name + " " + *object : name);
    bus_(name, object);
}

void SimDistributedNotificationCenter::deliver(const std::string& name,
                                               const std::optional<std::string>& object)
{
    LocalDistributedNotificationCenter::post(name, object);
}

}  // namespace veltrane::sim
