#pragma once

#include "core/Defaults.h"
#include "platform/Platform.h"
#include "touch/DevicesModel.h"
#include "touch/MTMouseRegistrar.h"
#include "touch/MTTrackpadRegistrar.h"

#include <cstdint>
#include <memory>

namespace veltrane {

// Finds the pointing devices, keeps the device model, and registers every trackpad with the
// multitouch framework, at start from the framework's list and later as the HID manager reports
// arrivals and removals. Made once per run.
class DeviceListener {
public:
    static constexpr const char* kDeviceQueueLabel = "com.marrowind.Veltrane.device";
    static constexpr const char* kHidDevicesQueueLabel = "com.marrowind.Veltrane.hidDevices";
    static constexpr double kRegistrationDelay = 1.0;

    DeviceListener(const platform::Platform& platform, Defaults& defaults,
                   MTTrackpadRegistrar::Consumers consumers);
    DeviceListener(const DeviceListener&) = delete;
    DeviceListener& operator=(const DeviceListener&) = delete;

    DevicesModel& devicesModel() { return devicesModel_; }

private:
    void registerAllDevices();
    void watchHidDevices();
    void deviceMatched(const platform::HidDevice& device);
    void deviceRemoved(const platform::HidDevice& device);
    // From the framework's list, by device id.
    void scheduleRegistration(DeviceType type, std::uint64_t deviceId);
    // From the HID manager, by location id.
    void scheduleRegistrationAtLocation(DeviceType type, std::uint64_t locationId);
    void registerLater(DeviceType type, std::uint64_t deviceId);
    void unregisterDevice(DeviceType type, std::uint64_t deviceId);

    const platform::Platform& platform_;
    const bool usePrivateFramework_;
    DevicesModel devicesModel_;
    MTMouseRegistrar mouseRegistrar_;
    MTTrackpadRegistrar trackpadRegistrar_;
    std::shared_ptr<platform::Queue> deviceQueue_;
    std::shared_ptr<platform::Queue> hidQueue_;
    std::shared_ptr<platform::HidManager> hidManager_;
};

}  // namespace veltrane
