#include "touch/DevicesModel.h"

#include <algorithm>

namespace veltrane {

DevicesModel::DevicesModel(platform::Bindings& bindings, bool hasBuiltInTrackpad)
    : bindings_(bindings), hasBuiltInTrackpad_(hasBuiltInTrackpad)
{
}

void DevicesModel::addDevice(std::uint64_t deviceId, DeviceType type)
{
    const Lock lock(mutex_);
    if (std::any_of(devices_.begin(), devices_.end(),
                    [&](const Device& d) { return d.deviceId == deviceId; })) {
        return;
    }
    if (isBuiltIn(type)) {
        std::erase_if(devices_, [](const Device& d) { return isBuiltIn(d.type); });
    }
    const std::uint64_t locationId = Device::locationIdForDevice(deviceId);
    std::erase_if(devices_, [&](const Device& d) { return d.locationId == locationId; });
    devices_.push_back(Device{deviceId, locationId, type});
    updateFlags();
}

void DevicesModel::addDeviceAtLocation(std::uint64_t locationId, DeviceType type)
{
    const Lock lock(mutex_);
    if (findLocation(locationId) != nullptr) {
        return;
    }
    const std::uint64_t deviceId = Device::deviceIdForLocation(locationId, type);
    if (isBuiltIn(type) &&
        std::any_of(devices_.begin(), devices_.end(), [](const Device& d) { return isBuiltIn(d.type); })) {
        return;
    }
    std::erase_if(devices_, [&](const Device& d) { return d.deviceId == deviceId; });
    devices_.push_back(Device{deviceId, locationId, type});
    updateFlags();
}

std::optional<DeviceType> DevicesModel::removeDevice(std::uint64_t locationId)
{
    const Lock lock(mutex_);
    const Device* device = findLocation(locationId);
    if (device == nullptr) {
        return std::nullopt;
    }
    const DeviceType type = device->type;
    devices_.erase(devices_.begin() + (device - devices_.data()));
    updateFlags();
    return type;
}

std::optional<DeviceType> DevicesModel::deviceType(std::uint64_t locationId) const
{
    const Lock lock(mutex_);
    const Device* device = findLocation(locationId);
    return device == nullptr ? std::nullopt : std::optional<DeviceType>(device->type);
}

bool DevicesModel::magicMouseExists() const
{
    const Lock lock(mutex_);
    return magicMouseExists_;
}

void DevicesModel::setMagicMouseConnected(bool connected)
{
    const Lock lock(mutex_);
    setFlag(magicMouseConnected_, "magicMouseConnected", connected);
}

const Device* DevicesModel::findLocation(std::uint64_t locationId) const
{
    const auto found = std::find_if(devices_.begin(), devices_.end(),
                                    [&](const Device& d) { return d.locationId == locationId; });
    return found == devices_.end() ? nullptr : &*found;
}

void DevicesModel::updateFlags()
{
    bool mouse = false;
    bool trackpad = hasBuiltInTrackpad_;
    bool force = false;
    for (const Device& device : devices_) {
        mouse = mouse || isMagicMouse(device.type);
        trackpad = trackpad || isRegistrable(device.type);
        force = force || hasForceTouch(device.type);
    }
    magicMouseExists_ = mouse;
    setFlag(trackpadConnected_, "trackpadConnected", trackpad);
    setFlag(forceTouchConnected_, "forceTouchConnected", force);
}

// Observers hear of every write, as the platform's key-value observing tells them.
void DevicesModel::setFlag(bool& flag, const char* key, bool value)
{
    flag = value;
    bindings_.didChangeValue(kObjectName, key, value);
}

}  // namespace veltrane
