#include "touch/DeviceListener.h"

#include "platform/HidProperties.h"
#include "touch/MacModel.h"

#include <algorithm>
#include <cctype>

namespace veltrane {

namespace {

constexpr const char* kBuiltInProductName = "Apple Internal Keyboard / Trackpad";

bool hasBuiltInTrackpad(const platform::System& system)
{
    auto model = MacModel(system).model();
    if (!model) {
        return false;
    }
    std::transform(model->begin(), model->end(), model->begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return model->find("book") != std::string::npos;
}

std::optional<DeviceType> typeForVendor(std::int64_t vendorId, std::int64_t productId)
{
    constexpr std::int64_t apple = 1452;
    constexpr std::int64_t appleBluetooth = 76;
    if (vendorId == apple) {
        switch (productId) {
        case 781:
            return DeviceType::magicMouse;
        case 782:
            return DeviceType::magicTrackpad;
        case 566:
        case 582:
            return DeviceType::internalTrackpad;
        case 627:
        case 632:
        case 635:
            return DeviceType::internalTrackpad2;
        default:
            return std::nullopt;
        }
    }
    if (vendorId == appleBluetooth && productId == 617) {
        return DeviceType::magicMouse2;
    }
    if (vendorId == appleBluetooth && productId == 613) {
        return DeviceType::magicTrackpad2;
    }
    return std::nullopt;
}

bool isTrue(const platform::HidProperty& property)
{
    return std::holds_alternative<bool>(property) && std::get<bool>(property);
}

// A device the vendor table does not know. A touch pad of any maker is a trackpad, typed as the
// framework's list types its devices: built in or not, with force or not.
DeviceType typeOfUnlisted(const platform::HidDevice& device)
{
    const bool hasForce = isTrue(device.searchServiceProperty("ForceSupported"));
    const bool touchPad = device.conformsTo(platform::kHidDigitizerPage, platform::kHidTouchPadUsage);
    const bool builtIn = platform::textProperty(device, platform::kHidProduct) == kBuiltInProductName ||
                         (touchPad && isTrue(device.property(platform::kHidBuiltIn)));
    if (builtIn) {
        return hasForce ? DeviceType::internalTrackpad2 : DeviceType::internalTrackpad;
    }
    if (touchPad) {
        return hasForce ? DeviceType::magicTrackpad2 : DeviceType::magicTrackpad;
    }
    return hasForce ? DeviceType::unknownWithForce : DeviceType::unknown;
}

}  // namespace

DeviceListener::DeviceListener(const platform::Platform& platform, Defaults& defaults,
                               MTTrackpadRegistrar::Consumers consumers)
    : platform_(platform), usePrivateFramework_(defaults.usePrivateFramework().enabled()),
      devicesModel_(platform.bindings, hasBuiltInTrackpad(platform.system)),
      mouseRegistrar_(devicesModel_, platform.systemLog),
      trackpadRegistrar_(platform, defaults, devicesModel_, std::move(consumers)),
      deviceQueue_(platform.dispatch.makeSerialQueue(kDeviceQueueLabel))
{
    deviceQueue_->sync([this] {
        registerAllDevices();
        watchHidDevices();
    });
}

void DeviceListener::registerAllDevices()
{
    auto& multitouch = platform_.multitouch;
    const auto devices = multitouch.MTDeviceCreateList();
    if (!devices) {
        return;
    }
    for (const auto& device : *devices) {
        std::uint64_t deviceId = 0;
        std::int32_t familyId = 0;
        multitouch.MTDeviceGetDeviceID(device.get(), deviceId);
        multitouch.MTDeviceGetFamilyID(device.get(), familyId);
        const DeviceType type =
            familyId == platform::Multitouch::kMagicMouseFamily
                ? DeviceType::magicMouse
                : static_cast<DeviceType>((multitouch.MTDeviceIsBuiltIn(device.get()) ? 2 : 0) +
                                          (multitouch.MTDeviceSupportsForce(device.get()) ? 1 : 0));
        platform_.dispatch.mainQueue().async(
            [this, deviceId, type] { devicesModel_.addDevice(deviceId, type); });
        scheduleRegistration(type, deviceId);
    }
}

void DeviceListener::watchHidDevices()
{
    hidManager_ = platform_.hidManagers.createHidManager();
    hidManager_->setDeviceMatching({{platform::kHidGenericDesktopPage, platform::kHidMouseUsage}});
    hidManager_->registerDeviceMatchingCallback(
        [this](const std::shared_ptr<const platform::HidDevice>& device) { deviceMatched(*device); });
    hidManager_->registerDeviceRemovalCallback(
        [this](const std::shared_ptr<const platform::HidDevice>& device) { deviceRemoved(*device); });
    hidManager_->open();
    // The manager's callbacks arrive on a thread of their own, for the rest of the run.
    hidQueue_ = platform_.dispatch.makeSerialQueue(kHidDevicesQueueLabel);
    hidQueue_->async([this] { hidManager_->schedule(*hidQueue_); });
}

void DeviceListener::deviceMatched(const platform::HidDevice& device)
{
    const auto vendorId = platform::integerProperty(device, platform::kHidVendorId);
    const auto productId = platform::integerProperty(device, platform::kHidProductId);
    const auto locationId = platform::unsignedProperty(device, platform::kHidLocationId);
    if (!vendorId || !productId || !locationId) {
        return;
    }
    if (const auto known = typeForVendor(*vendorId, *productId)) {
        devicesModel_.addDeviceAtLocation(*locationId, *known);
        scheduleRegistrationAtLocation(*known, *locationId);
        return;
    }
    const DeviceType type = typeOfUnlisted(device);
    devicesModel_.addDeviceAtLocation(*locationId, type);
    if (isRegistrable(type)) {
        scheduleRegistrationAtLocation(type, *locationId);
    }
}

void DeviceListener::deviceRemoved(const platform::HidDevice& device)
{
    const auto locationId = platform::unsignedProperty(device, platform::kHidLocationId);
    if (!locationId) {
        return;
    }
    if (const auto type = devicesModel_.removeDevice(*locationId)) {
        unregisterDevice(*type, Device::deviceIdForLocation(*locationId, *type));
    }
}

void DeviceListener::scheduleRegistration(DeviceType type, std::uint64_t deviceId)
{
    deviceQueue_->asyncAfter(kRegistrationDelay, [this, type, deviceId] { registerLater(type, deviceId); });
}

void DeviceListener::scheduleRegistrationAtLocation(DeviceType type, std::uint64_t locationId)
{
    if (isMagicMouse(type)) {
        return;
    }
    scheduleRegistration(type, Device::deviceIdForLocation(locationId, type));
}

void DeviceListener::registerLater(DeviceType type, std::uint64_t deviceId)
{
    if (!isRegistrable(type) || !usePrivateFramework_ || trackpadRegistrar_.isRegistered(deviceId)) {
        return;
    }
    if (auto device = platform_.multitouch.MTDeviceCreateFromDeviceID(deviceId)) {
        trackpadRegistrar_.registerDevice(std::move(device), deviceId);
    }
}

void DeviceListener::unregisterDevice(DeviceType type, std::uint64_t deviceId)
{
    if (isRegistrable(type)) {
        trackpadRegistrar_.unregisterDevice(deviceId);
    } else if (isMagicMouse(type)) {
        mouseRegistrar_.unregisterDevice(deviceId);
    }
}

}  // namespace veltrane
