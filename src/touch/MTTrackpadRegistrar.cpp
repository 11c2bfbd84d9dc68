#include "touch/MTTrackpadRegistrar.h"

#include <algorithm>
#include <span>

namespace veltrane {

std::atomic<platform::SystemLog*> MTTrackpadRegistrar::callbackLog_{nullptr};

MTTrackpadRegistrar::MTTrackpadRegistrar(const platform::Platform& platform, Defaults& defaults,
                                         DevicesModel& devicesModel, Consumers consumers)
    : platform_(platform), consumers_(std::move(consumers)),
      tracker_(defaults, devicesModel, platform.multitouch, platform.systemLog)
{
    callbackLog_.store(&platform.systemLog);
}

bool MTTrackpadRegistrar::isRegistered(std::uint64_t deviceId) const
{
    const std::lock_guard lock(devicesMutex_);
    return registeredDevices_.contains(deviceId);
}

void MTTrackpadRegistrar::registerDevice(platform::MTDeviceRef device, std::uint64_t deviceId)
{
    {
        const std::lock_guard lock(devicesMutex_);
        registeredDevices_[deviceId] = device;
    }
    platform_.multitouch.MTRegisterContactFrameCallbackWithRefcon(device.get(), &handleContactFrame, this);
    if (platform_.multitouch.MTDeviceStart(device.get(), platform::Multitouch::kStartDefault) != 0) {
        platform_.systemLog.write(platform::SystemLogLevel::error,
                                  "com-marrowind-Veltrane Unable to register device");
    } else {
        platform_.systemLog.write(platform::SystemLogLevel::info,
                                  "com-marrowind-Veltrane Registered trackpad");
    }
}

void MTTrackpadRegistrar::unregisterDevice(std::uint64_t deviceId)
{
    {
        const std::lock_guard lock(devicesMutex_);
        registeredDevices_.erase(deviceId);
    }
    platform_.systemLog.write(platform::SystemLogLevel::info, "com-marrowind-Veltrane Unregistered trackpad");
}

void MTTrackpadRegistrar::handleContactFrame(platform::MTDevice* device, const platform::MTTouch* contacts,
                                             int count, double timestamp, int, void* refcon)
{
    if (refcon == nullptr) {
        if (platform::SystemLog* log = callbackLog_.load()) {
            log->write(platform::SystemLogLevel::info, "com-marrowind-Veltrane MT callback with nil values");
        }
        return;
    }
    static_cast<MTTrackpadRegistrar*>(refcon)->handleFrame(device, contacts, count, timestamp);
}

void MTTrackpadRegistrar::handleFrame(platform::MTDevice* device, const platform::MTTouch* contacts,
                                      int count, double timestamp)
{
    if (consumers_.disabledForApp && consumers_.disabledForApp()) {
        return;
    }
    // The records are read during the call, while the framework guarantees them.
    const auto size = contacts == nullptr ? 0 : static_cast<std::size_t>(std::clamp(count, 0, kMaxContacts));
    const std::optional<TouchEvent> event = [&] {
        const std::lock_guard lock(trackerMutex_);
        return tracker_.processFrame(device, std::span(contacts, size), timestamp);
    }();
    if (!event) {
        return;
    }
    if (consumers_.recognize) {
        consumers_.recognize(*event);
    }
    TouchViewer* viewer = consumers_.viewer;
    if (viewer != nullptr && viewer->isShowing()) {
        platform_.dispatch.mainQueue().sync([&] { viewer->showTouches(*event); });
    }
}

}  // namespace veltrane
