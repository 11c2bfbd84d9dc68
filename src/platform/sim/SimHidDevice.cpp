#include "platform/sim/SimHidDevice.h"

namespace veltrane::sim {

SimHidDevice::SimHidDevice(std::string name, Properties properties, Properties serviceProperties)
    : name_(std::move(name)), properties_(std::move(properties)),
      serviceProperties_(std::move(serviceProperties))
{
}

platform::HidProperty SimHidDevice::property(std::string_view key) const
{
    return find(properties_, key);
}

platform::HidProperty SimHidDevice::searchServiceProperty(std::string_view key) const
{
    return find(serviceProperties_, key);
}

platform::HidProperty SimHidDevice::find(const Properties& properties, std::string_view key)
{
    const auto found = properties.find(key);
    return found == properties.end() ? platform::HidProperty{} : found->second;
}

}  // namespace veltrane::sim
