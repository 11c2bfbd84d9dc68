#pragma once

#include "platform/Bindings.h"
#include "touch/Device.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace veltrane {

// The pointing devices that are connected, and the flags the preferences bind to: whether a
// trackpad, a force-touch trackpad or a Magic Mouse is there. Written on the main queue, the
// device queue and the HID thread, read by the frame handler on the framework's thread, so every
// operation takes the model's lock.
class DevicesModel {
public:
    static constexpr const char* kObjectName = "DevicesModel";

    DevicesModel(platform::Bindings& bindings, bool hasBuiltInTrackpad);
    DevicesModel(const DevicesModel&) = delete;
    DevicesModel& operator=(const DevicesModel&) = delete;

    // From the framework's device list: a new built-in trackpad replaces the old entry.
    void addDevice(std::uint64_t deviceId, DeviceType type);
    // From the HID manager: an entry already known for the built-in trackpad wins.
    void addDeviceAtLocation(std::uint64_t locationId, DeviceType type);
    std::optional<DeviceType> removeDevice(std::uint64_t locationId);
    std::optional<DeviceType> deviceType(std::uint64_t locationId) const;

    bool magicMouseExists() const;
    void setMagicMouseConnected(bool connected);

private:
    using Lock = std::lock_guard<std::mutex>;

    const Device* findLocation(std::uint64_t locationId) const;
    void updateFlags();
    void setFlag(bool& flag, const char* key, bool value);

    platform::Bindings& bindings_;
    const bool hasBuiltInTrackpad_;
    mutable std::mutex mutex_;
    std::vector<Device> devices_;
    bool magicMouseExists_ = false;
    bool magicMouseConnected_ = false;
    bool trackpadConnected_ = false;
    bool forceTouchConnected_ = false;
};

}  // namespace veltrane
