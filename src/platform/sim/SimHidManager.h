#pragma once

#include "platform/HidManager.h"

#include <memory>
#include <vector>

namespace veltrane::sim {

class DesktopLock;
struct Faults;
class SimHidDevice;
class SimQueue;

// A HID manager of one process. The HID stack hands it every device change and input value;
// it passes on what matches its criteria, on the queue it is scheduled on, as long as it is
// still scheduled on that queue when the callback runs.
class SimHidManager final : public platform::HidManager, public std::enable_shared_from_this<SimHidManager> {
public:
    SimHidManager(DesktopLock& lock, Faults& faults, std::vector<std::shared_ptr<SimHidDevice>> connected);

    void setDeviceMatching(std::vector<platform::HidDeviceMatch> criteria) override;
    void registerInputValueCallback(InputValueCallback callback) override;
    void registerDeviceMatchingCallback(DeviceCallback callback) override;
    void registerDeviceRemovalCallback(DeviceCallback callback) override;
    platform::HidResult open() override;
    void schedule(platform::Queue& queue) override;
    void unschedule() override;
    void close() override;

    void deviceAdded(const std::shared_ptr<SimHidDevice>& device);
    void deviceRemoved(const std::shared_ptr<SimHidDevice>& device);
    void inputValue(platform::HidResult result, const platform::HidValue& value);

private:
    bool matches(const SimHidDevice& device) const;
    // Queues the callback, to run if the manager is still scheduled on the same queue by then.
    void deliver(std::function<void()> callback);
    bool scheduledOn(const SimQueue* queue) const;

    DesktopLock& lock_;
    Faults& faults_;
    std::vector<std::shared_ptr<SimHidDevice>> connected_;
    std::vector<platform::HidDeviceMatch> criteria_;
    InputValueCallback inputValueCallback_;
    DeviceCallback matchingCallback_;
    DeviceCallback removalCallback_;
    bool open_ = false;
    std::weak_ptr<SimQueue> queue_;
};

}  // namespace veltrane::sim
