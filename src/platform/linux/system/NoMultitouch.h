#pragma once

#include "platform/Multitouch.h"

namespace veltrane::linuxbackend {

// The multitouch framework on a machine that has none of its devices: the list is empty, every
// call about a device fails, and no frame ever comes.
class NoMultitouch final : public platform::Multitouch {
public:
    // Any status but 0 is a failure: there is no device to act on.
    static constexpr std::int32_t kNoDevice = -1;

    std::optional<std::vector<platform::MTDeviceRef>> MTDeviceCreateList() override
    {
        return std::vector<platform::MTDeviceRef>{};
    }
    std::int32_t MTDeviceGetDeviceID(platform::MTDevice*, std::uint64_t&) override { return kNoDevice; }
    std::int32_t MTDeviceGetFamilyID(platform::MTDevice*, std::int32_t&) override { return kNoDevice; }
    bool MTDeviceIsBuiltIn(platform::MTDevice*) override { return false; }
    bool MTDeviceSupportsForce(platform::MTDevice*) override { return false; }
    platform::MTDeviceRef MTDeviceCreateFromDeviceID(std::uint64_t) override { return nullptr; }
    void MTRegisterContactFrameCallbackWithRefcon(platform::MTDevice*, platform::MTContactFrameCallback,
                                                  void*) override
    {
    }
    std::int32_t MTDeviceStart(platform::MTDevice*, std::int32_t) override { return kNoDevice; }
    std::int32_t MTDeviceGetSensorSurfaceDimensions(platform::MTDevice*, std::int32_t&,
                                                    std::int32_t&) override
    {
        return kNoDevice;
    }
};

}  // namespace veltrane::linuxbackend
