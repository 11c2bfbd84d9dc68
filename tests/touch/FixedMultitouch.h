#pragma once

#include "platform/Multitouch.h"

#include <memory>
#include <optional>

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

// One contact of a frame: by default a firm, small, still finger in the middle of the surface.
struct Contact {
    std::int32_t path = 1;
    platform::MTPathStage stage = 4;
    float x = 0.5f;
    float y = 0.5f;
    float vx = 0.0f;
    float vy = 0.0f;
    float z = 1.0f;
    float major = 6.0f;
    float minor = 5.0f;
    double timestamp = 1.0;
    std::optional<platform::MTPoint> absolute = std::nullopt;  // x · width, y · height when not given
};

inline platform::MTTouch record(const Contact& c)
{
    platform::MTTouch touch{};
    touch.timestamp = c.timestamp;
    touch.pathIndex = c.path;
    touch.stage = c.stage;
    touch.normalizedVector = {{c.x, c.y}, {c.vx, c.vy}};
    touch.zTotal = c.z;
    touch.majorAxis = c.major;
    touch.minorAxis = c.minor;
    touch.absoluteVector.position =
        c.absolute.value_or(platform::MTPoint{c.x * static_cast<float>(FixedMultitouch::kWidth),
                                              c.y * static_cast<float>(FixedMultitouch::kHeight)});
    return touch;
}

}  // namespace veltrane::testing
