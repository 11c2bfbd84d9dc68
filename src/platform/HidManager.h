#pragma once

#include "platform/HidDevice.h"
#include "platform/HidValue.h"
#include "platform/Queue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace veltrane::platform {

// Result codes of the HID stack (0 is success).
using HidResult = std::int32_t;
inline constexpr HidResult kHidSuccess = 0;
// The process may not open the devices: input monitoring or accessibility is not granted.
inline constexpr HidResult kHidNotPermitted = static_cast<HidResult>(0xE00002E2u);

struct HidDeviceMatch {
    std::uint32_t usagePage = 0;
    std::uint32_t usage = 0;
};

// A HID manager follows the devices that match its criteria. Callbacks are delivered on the
// queue the manager is scheduled on, and only while it is scheduled: device matching for every
// device already connected when it is scheduled and for each one that arrives later, removal for
// each one that leaves, and input values only once the manager has been opened successfully.
class HidManager {
public:
    using InputValueCallback = std::function<void(HidResult result, const HidValue& value)>;
    using DeviceCallback = std::function<void(const std::shared_ptr<const HidDevice>& device)>;

    virtual ~HidManager() = default;

    virtual void setDeviceMatching(std::vector<HidDeviceMatch> criteria) = 0;
    virtual void registerInputValueCallback(InputValueCallback callback) = 0;
    virtual void registerDeviceMatchingCallback(DeviceCallback callback) = 0;
    virtual void registerDeviceRemovalCallback(DeviceCallback callback) = 0;

    virtual HidResult open() = 0;
    virtual void schedule(Queue& queue) = 0;
    virtual void unschedule() = 0;
    virtual void close() = 0;
};

class HidManagerFactory {
public:
    virtual ~HidManagerFactory() = default;

    virtual std::shared_ptr<HidManager> createHidManager() = 0;
};

}  // namespace veltrane::platform
