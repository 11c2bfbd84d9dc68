#pragma once

#include "platform/HidManager.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace veltrane::platform {

// A HID manager over the devices a backend connects, for every backend. It keeps the criteria and
// the callbacks it is given, whether it is open and where it is scheduled, and passes on what
// matches its criteria on that queue, as long as it is still scheduled there when the callback
// runs. The backend tells it of devices coming and going, hands it each input value, and says
// what an open returns. The queue is held by reference: whoever schedules the manager keeps the
// queue until it unschedules the manager or lets it go.
class MatchingHidManager final : public HidManager, public std::enable_shared_from_this<MatchingHidManager> {
public:
    // Asked at each open, for the result it returns.
    using Opening = std::function<HidResult()>;

    MatchingHidManager(std::vector<std::shared_ptr<const HidDevice>> connected, Opening opening);

    void setDeviceMatching(std::vector<HidDeviceMatch> criteria) override;
    void registerInputValueCallback(InputValueCallback callback) override;
    void registerDeviceMatchingCallback(DeviceCallback callback) override;
    void registerDeviceRemovalCallback(DeviceCallback callback) override;
    HidResult open() override;
    void schedule(Queue& queue) override;
    void unschedule() override;
    void close() override;

    void deviceAdded(const std::shared_ptr<const HidDevice>& device);
    void deviceRemoved(const std::shared_ptr<const HidDevice>& device);
    // An input value of a connected device, for the callback while the manager is open and matches
    // the device. queueInputValue returns at once; runInputValue returns once the callback has run
    // on the manager's queue (or at once when it would not run), so that the caller knows it was
    // heard before going on.
    void queueInputValue(HidResult result, const HidValue& value);
    void runInputValue(HidResult result, const HidValue& value);

private:
    bool matches(const HidDevice& device) const;
    bool takesValue(const HidValue& value) const;
    void deliverDevice(const DeviceCallback& callback, const std::shared_ptr<const HidDevice>& device);
    // Queues the call, to run if the manager is still scheduled on the same queue by then.
    void deliver(std::function<void()> call);
    bool scheduledOn(const Queue* queue) const;

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<const HidDevice>> connected_;
    const Opening opening_;
    std::vector<HidDeviceMatch> criteria_;
    // Shared, so that a delivery copies no callback.
    std::shared_ptr<const InputValueCallback> inputValueCallback_;
    DeviceCallback matchingCallback_;
    DeviceCallback removalCallback_;
    bool open_ = false;
    Queue* queue_ = nullptr;
};

}  // namespace veltrane::platform
