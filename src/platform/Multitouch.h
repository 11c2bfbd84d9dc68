#pragma once

#include "platform/MTTouch.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace veltrane::platform {

// A device of the multitouch framework. The handle keeps the device object alive; releasing the
// last reference ends the framework's interest in it.
class MTDevice {
public:
    virtual ~MTDevice() = default;
};

using MTDeviceRef = std::shared_ptr<MTDevice>;

// Called once per contact frame on the framework's own thread: the device, the frame's contacts
// (valid only during the call), their number, the frame time in seconds, the frame number and the
// reference given at registration.
using MTContactFrameCallback = void (*)(MTDevice* device, const MTTouch* contacts, int count,
                                        double timestamp, int frameNumber, void* refcon);

// The private multitouch framework, call for call. Status results are 0 on success.
class Multitouch {
public:
    static constexpr std::int32_t kMagicMouseFamily = 112;
    static constexpr std::int32_t kStartDefault = 0x10000000;

    virtual ~Multitouch() = default;

    virtual std::optional<std::vector<MTDeviceRef>> MTDeviceCreateList() = 0;
    virtual std::int32_t MTDeviceGetDeviceID(MTDevice* device, std::uint64_t& deviceId) = 0;
    virtual std::int32_t MTDeviceGetFamilyID(MTDevice* device, std::int32_t& familyId) = 0;
    virtual bool MTDeviceIsBuiltIn(MTDevice* device) = 0;
    virtual bool MTDeviceSupportsForce(MTDevice* device) = 0;
    virtual MTDeviceRef MTDeviceCreateFromDeviceID(std::uint64_t deviceId) = 0;
    virtual void MTRegisterContactFrameCallbackWithRefcon(MTDevice* device, MTContactFrameCallback callback,
                                                          void* refcon) = 0;
    virtual std::int32_t MTDeviceStart(MTDevice* device, std::int32_t mode) = 0;
    virtual std::int32_t MTDeviceGetSensorSurfaceDimensions(MTDevice* device, std::int32_t& width,
                                                            std::int32_t& height) = 0;
};

}  // namespace veltrane::platform
