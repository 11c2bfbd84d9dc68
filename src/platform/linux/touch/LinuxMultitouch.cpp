#include "platform/linux/touch/LinuxMultitouch.h"

#include <algorithm>

namespace veltrane::linuxbackend {

namespace {

// Every touchpad is of one family, which is never the Magic Mouse's: none of them is a mouse.
constexpr std::int32_t kTouchpadFamily = 0;

LinuxTouchpad* touchpadOf(platform::MTDevice* device)
{
    return dynamic_cast<LinuxTouchpad*>(device);
}

}  // namespace

void LinuxMultitouch::connect(std::shared_ptr<LinuxTouchpad> touchpad)
{
    const std::lock_guard lock(mutex_);
    touchpads_.push_back(std::move(touchpad));
}

void LinuxMultitouch::disconnect(const std::shared_ptr<LinuxTouchpad>& touchpad)
{
    touchpad->disconnect();
    const std::lock_guard lock(mutex_);
    std::erase(touchpads_, touchpad);
}

std::optional<std::vector<platform::MTDeviceRef>> LinuxMultitouch::MTDeviceCreateList()
{
    const std::lock_guard lock(mutex_);
    return std::vector<platform::MTDeviceRef>(touchpads_.begin(), touchpads_.end());
}

std::int32_t LinuxMultitouch::MTDeviceGetDeviceID(platform::MTDevice* device, std::uint64_t& deviceId)
{
    const LinuxTouchpad* touchpad = touchpadOf(device);
    if (touchpad == nullptr) {
        return kNoDevice;
    }
    deviceId = touchpad->deviceId();
    return 0;
}

std::int32_t LinuxMultitouch::MTDeviceGetFamilyID(platform::MTDevice* device, std::int32_t& familyId)
{
    if (touchpadOf(device) == nullptr) {
        return kNoDevice;
    }
    familyId = kTouchpadFamily;
    return 0;
}

bool LinuxMultitouch::MTDeviceIsBuiltIn(platform::MTDevice* device)
{
    const LinuxTouchpad* touchpad = touchpadOf(device);
    return touchpad != nullptr && touchpad->identity().builtIn;
}

bool LinuxMultitouch::MTDeviceSupportsForce(platform::MTDevice* device)
{
    const LinuxTouchpad* touchpad = touchpadOf(device);
    return touchpad != nullptr && touchpad->identity().force;
}

platform::MTDeviceRef LinuxMultitouch::MTDeviceCreateFromDeviceID(std::uint64_t deviceId)
{
    const std::lock_guard lock(mutex_);
    const auto found = std::find_if(touchpads_.begin(), touchpads_.end(),
                                    [&](const auto& touchpad) { return touchpad->deviceId() == deviceId; });
    return found == touchpads_.end() ? nullptr : *found;
}

void LinuxMultitouch::MTRegisterContactFrameCallbackWithRefcon(platform::MTDevice* device,
                                                               platform::MTContactFrameCallback callback,
                                                               void* refcon)
{
    if (LinuxTouchpad* touchpad = touchpadOf(device)) {
        touchpad->setCallback(callback, refcon);
    }
}

std::int32_t LinuxMultitouch::MTDeviceStart(platform::MTDevice* device, std::int32_t)
{
    LinuxTouchpad* touchpad = touchpadOf(device);
    return touchpad != nullptr && touchpad->start() ? 0 : kNoDevice;
}

std::int32_t LinuxMultitouch::MTDeviceGetSensorSurfaceDimensions(platform::MTDevice* device,
                                                                 std::int32_t& width, std::int32_t& height)
{
    const LinuxTouchpad* touchpad = touchpadOf(device);
    if (touchpad == nullptr) {
        return kNoDevice;
    }
    width = touchpad->width();
    height = touchpad->height();
    return 0;
}

}  // namespace veltrane::linuxbackend
