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
    // The built-in trackpad of most machines sits at this HID location.
    static constexpr std::uint64_t kBuiltInLocation = 0x1000000;

    // A device's id is its HID location id with a tag byte on top, which says whether it is built in.
    static constexpr std::uint64_t deviceIdForLocation(std::uint64_t locationId, bool builtIn)
    {
        if (builtIn) {
            return locationId == kBuiltInLocation ? 0x0200000001000000ull
                                                  : 0x0300000000000000ull | locationId;
        }
        return 0x0400000000000000ull | locationId;
    }

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
