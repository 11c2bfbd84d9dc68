#include "platform/sim/SimMultitouch.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/Faults.h"
#include "platform/sim/SimQueue.h"

#include <stdexcept>
#include <utility>

namespace veltrane::sim {

namespace {
// What the framework answers when a device cannot be started.
constexpr std::int32_t kStartFailed = static_cast<std::int32_t>(0xE00002BCu);
}  // namespace

class SimMultitouch::Handle final : public platform::MTDevice {
public:
    explicit Handle(std::shared_ptr<const MultitouchBus::Device> busDevice) : device(std::move(busDevice)) {}

    const std::shared_ptr<const MultitouchBus::Device> device;
    platform::MTContactFrameCallback callback = nullptr;
    void* refcon = nullptr;
    bool started = false;
};

SimMultitouch::SimMultitouch(MultitouchBus& bus, DesktopLock& lock, Faults& faults,
                             std::shared_ptr<SimQueue> frameQueue)
    : bus_(bus), lock_(lock), faults_(faults), frameQueue_(std::move(frameQueue))
{
    bus_.attach(*this);
}

SimMultitouch::~SimMultitouch()
{
    bus_.detach(*this);
}

std::optional<std::vector<platform::MTDeviceRef>> SimMultitouch::MTDeviceCreateList()
{
    const std::lock_guard guard(lock_);
    if (std::exchange(faults_.multitouchList, false)) {
        return std::nullopt;
    }
    std::vector<platform::MTDeviceRef> list;
    for (const auto& device : bus_.devices()) {
        list.push_back(makeHandle(device));
    }
    return list;
}

std::int32_t SimMultitouch::MTDeviceGetDeviceID(platform::MTDevice* device, std::uint64_t& deviceId)
{
    deviceId = handle(device).device->deviceId;
    return 0;
}

std::int32_t SimMultitouch::MTDeviceGetFamilyID(platform::MTDevice* device, std::int32_t& familyId)
{
    familyId = handle(device).device->familyId;
    return 0;
}

bool SimMultitouch::MTDeviceIsBuiltIn(platform::MTDevice* device)
{
    return handle(device).device->builtIn;
}

bool SimMultitouch::MTDeviceSupportsForce(platform::MTDevice* device)
{
    return handle(device).device->supportsForce;
}

platform::MTDeviceRef SimMultitouch::MTDeviceCreateFromDeviceID(std::uint64_t deviceId)
{
    const std::lock_guard guard(lock_);
    for (const auto& device : bus_.devices()) {
        if (device->deviceId == deviceId) {
            return makeHandle(device);
        }
    }
    return nullptr;
}

void SimMultitouch::MTRegisterContactFrameCallbackWithRefcon(platform::MTDevice* device,
                                                             platform::MTContactFrameCallback callback,
                                                             void* refcon)
{
    const std::lock_guard guard(lock_);
    Handle& registered = handle(device);
    registered.callback = callback;
    registered.refcon = refcon;
}

std::int32_t SimMultitouch::MTDeviceStart(platform::MTDevice* device, std::int32_t)
{
    const std::lock_guard guard(lock_);
    if (std::exchange(faults_.multitouchStart, false)) {
        return kStartFailed;
    }
    handle(device).started = true;
    return 0;
}

std::int32_t SimMultitouch::MTDeviceGetSensorSurfaceDimensions(platform::MTDevice* device,
                                                               std::int32_t& width, std::int32_t& height)
{
    width = handle(device).device->width;
    height = handle(device).device->height;
    return 0;
}

void SimMultitouch::deliverFrame(const MultitouchBus::Device& device,
                                 const std::vector<platform::MTTouch>& contacts, double timestamp,
                                 int frameNumber)
{
    std::erase_if(handles_, [](const auto& weak) { return weak.expired(); });
    for (const auto& weak : handles_) {
        const auto registered = weak.lock();
        if (registered->device->deviceId != device.deviceId || !registered->started ||
            registered->callback == nullptr) {
            continue;
        }
        frameQueue_->async([&lock = lock_, weak, contacts, timestamp, frameNumber] {
            const auto live = weak.lock();
            if (!live) {
                return;
            }
            platform::MTContactFrameCallback callback = nullptr;
            void* refcon = nullptr;
            {
                const std::lock_guard guard(lock);
                callback = live->callback;
                refcon = live->refcon;
            }
            callback(live.get(), contacts.data(), static_cast<int>(contacts.size()), timestamp, frameNumber,
                     refcon);
        });
    }
}

platform::MTDeviceRef SimMultitouch::makeHandle(std::shared_ptr<const MultitouchBus::Device> device)
{
    auto made = std::make_shared<Handle>(std::move(device));
    handles_.push_back(made);
    return made;
}

SimMultitouch::Handle& SimMultitouch::handle(platform::MTDevice* device)
{
    auto* own = dynamic_cast<Handle*>(device);
    if (own == nullptr) {
        throw std::logic_error("not a device handle of the simulated multitouch framework");
    }
    return *own;
}

}  // namespace veltrane::sim
