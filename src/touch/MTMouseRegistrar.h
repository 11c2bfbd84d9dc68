#pragma once

#include "platform/Multitouch.h"
#include "platform/SystemLog.h"
#include "touch/DevicesModel.h"

#include <cstdint>
#include <map>
#include <mutex>

namespace veltrane {

// Keeps the Magic Mice known to the framework; their frames are never followed, so this only
// forgets them when they leave.
class MTMouseRegistrar {
public:
    MTMouseRegistrar(DevicesModel& devicesModel, platform::SystemLog& systemLog)
        : devicesModel_(devicesModel), systemLog_(systemLog)
    {
    }

    void unregisterDevice(std::uint64_t deviceId);

private:
    DevicesModel& devicesModel_;
    platform::SystemLog& systemLog_;
    std::mutex mutex_;
    std::map<std::uint64_t, platform::MTDeviceRef> registeredDevices_;
};

}  // namespace veltrane
