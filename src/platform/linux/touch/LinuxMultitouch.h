#pragma once

#include "platform/Multitouch.h"
#include "platform/linux/touch/LinuxTouchpad.h"

#include <memory>
#include <mutex>
#include <vector>

namespace veltrane::linuxbackend {

// The multitouch framework on Linux: every touchpad of the kernel's multitouch protocol, whatever
// its maker. Frames come on the thread that reads the pads, the main thread.
class LinuxMultitouch final : public platform::Multitouch {
public:
    // Any status but 0 is a failure: the device is not a touchpad, or it is gone.
    static constexpr std::int32_t kNoDevice = -1;

    void connect(std::shared_ptr<LinuxTouchpad> touchpad);
    void disconnect(const std::shared_ptr<LinuxTouchpad>& touchpad);

    std::optional<std::vector<platform::MTDeviceRef>> MTDeviceCreateList() override;
    std::int32_t MTDeviceGetDeviceID(platform::MTDevice* device, std::uint64_t& deviceId) override;
    std::int32_t MTDeviceGetFamilyID(platform::MTDevice* device, std::int32_t& familyId) override;
    bool MTDeviceIsBuiltIn(platform::MTDevice* device) override;
    bool MTDeviceSupportsForce(platform::MTDevice* device) override;
    platform::MTDeviceRef MTDeviceCreateFromDeviceID(std::uint64_t deviceId) override;
    void MTRegisterContactFrameCallbackWithRefcon(platform::MTDevice* device,
                                                  platform::MTContactFrameCallback callback,
                                                  void* refcon) override;
    std::int32_t MTDeviceStart(platform::MTDevice* device, std::int32_t mode) override;
    std::int32_t MTDeviceGetSensorSurfaceDimensions(platform::MTDevice* device, std::int32_t& width,
                                                    std::int32_t& height) override;

private:
    std::mutex mutex_;
    std::vector<std::shared_ptr<LinuxTouchpad>> touchpads_;
};

}  // namespace veltrane::linuxbackend
