#include "touch/MTMouseRegistrar.h"

namespace veltrane {

void MTMouseRegistrar::unregisterDevice(std::uint64_t deviceId)
{
    bool noneLeft = false;
    {
        const std::lock_guard lock(mutex_);
        registeredDevices_.erase(deviceId);
        noneLeft = registeredDevices_.empty();
    }
    if (noneLeft) {
        devicesModel_.setMagicMouseConnected(false);
    }
    systemLog_.write(platform::SystemLogLevel::info, "com-marrowind-Veltrane Unregistered Magic Mouse");
}

}  // namespace veltrane
