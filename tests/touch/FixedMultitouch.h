#pragma once

#include "platform/Multitouch.h"

#include <memory>

namespace veltrane::testing {

// A device handle that carries its own id.
struct FixedDevice final : platform::MTDevice {
    explicit FixedDevice(std::uint64_t deviceId) : id(deviceId) {}
    std::uint64_t id;
};

// A framework whose devices answer from their own fields: safe from any thread while nobody changes
// the statuses. A failing call leaves garbage behind, which the caller must not use.
class FixedMultitouch final : public platform::Multitouch {
public:
    static constexpr std::int32_t kWidth = 1000;
    static constexpr std::int32_t kHeight = 700;

    std::int32_t idStatus = 0;
    std::int32_t sizeStatus = 0;

    std::int32_t MTDeviceGetDeviceID(platform::MTDevice* device, std::uint64_t& id) override
    {
        id = idStatus == 0 ? static_cast<FixedDevice*>(device)->id : 0xBAD;
        return idStatus;
    }
    std::int32_t MTDeviceGetSensorSurfaceDimensions(platform::MTDevice*, std::int32_t& width,
                                                    std::int32_t& height) override
    {
        width = sizeStatus == 0 ? kWidth : 13;
        height = sizeStatus == 0 ? kHeight : 13;
        return sizeStatus;
    }
    platform::MTDeviceRef MTDeviceCreateFromDeviceID(std::uint64_t deviceId) override
    {
        return std::make_shared<FixedDevice>(deviceId);
    }
    std::optional<std::vector<platform::MTDeviceRef>> MTDeviceCreateList() override { return std::nullopt; }
    std::int32_t MTDeviceGetFamilyID(platform::MTDevice*, std::int32_t&) override { return 0; }
    bool MTDeviceIsBuiltIn(platform::MTDevice*) override { return false; }
    bool MTDeviceSupportsForce(platform::MTDevice*) override { return false; }
    void MTRegisterContactFrameCallbackWithRefcon(platform::MTDevice*, platform::MTContactFrameCallback,
                                                  void*) override
    {
    }
    std::int32_t MTDeviceStart(platform::MTDevice*, std::int32_t) override { return 0; }
};

}  // namespace veltrane::testing
