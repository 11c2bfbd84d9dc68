#pragma once

#include "platform/Multitouch.h"
#include "platform/sim/MultitouchBus.h"

#include <memory>
#include <vector>

namespace veltrane::sim {

class DesktopLock;
struct Faults;
class SimQueue;

// One process's view of the multitouch framework. Handles stand for the bus's devices; frames of a
// started handle with a registered callback arrive on the framework's own queue, as long as the
// handle is still held.
class SimMultitouch final : public platform::Multitouch {
public:
    SimMultitouch(MultitouchBus& bus, DesktopLock& lock, Faults& faults,
                  std::shared_ptr<SimQueue> frameQueue);
    ~SimMultitouch() override;
    SimMultitouch(const SimMultitouch&) = delete;
    SimMultitouch& operator=(const SimMultitouch&) = delete;

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

    // Called under the desktop lock.
    void deliverFrame(const MultitouchBus::Device& device, const std::vector<platform::MTTouch>& contacts,
                      double timestamp, int frameNumber);

private:
    class Handle;

    platform::MTDeviceRef makeHandle(std::shared_ptr<const MultitouchBus::Device> device);
    static Handle& handle(platform::MTDevice* device);

    MultitouchBus& bus_;
    DesktopLock& lock_;
    Faults& faults_;
    std::shared_ptr<SimQueue> frameQueue_;
    std::vector<std::weak_ptr<Handle>> handles_;
};

}  // namespace veltrane::sim
