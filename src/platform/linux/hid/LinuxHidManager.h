#pragma once

#include "platform/HidManager.h"
#include "platform/linux/hid/LinuxKeyboard.h"

#include <memory>
#include <mutex>
#include <vector>

namespace veltrane::linuxbackend {

// A HID manager of the program over the grabbed keyboards. Device changes reach its callbacks
// asynchronously on the queue it is scheduled on; an input value reaches it synchronously, so
// the listener has seen the raw key before the key itself goes on to the event taps.
class LinuxHidManager final : public platform::HidManager,
                              public std::enable_shared_from_this<LinuxHidManager> {
public:
    LinuxHidManager(std::vector<std::shared_ptr<LinuxKeyboard>> connected, platform::HidResult openResult);

    void setDeviceMatching(std::vector<platform::HidDeviceMatch> criteria) override;
    void registerInputValueCallback(InputValueCallback callback) override;
    void registerDeviceMatchingCallback(DeviceCallback callback) override;
    void registerDeviceRemovalCallback(DeviceCallback callback) override;
    platform::HidResult open() override;
    void schedule(platform::Queue& queue) override;
    void unschedule() override;
    void close() override;

    void deviceAdded(const std::shared_ptr<LinuxKeyboard>& keyboard);
    void deviceRemoved(const std::shared_ptr<LinuxKeyboard>& keyboard);
    // Returns once the callback has run on the manager's queue (or at once when it would not run).
    void inputValue(const platform::HidValue& value);

private:
    bool matches(const LinuxKeyboard& keyboard) const;
    void deliver(const DeviceCallback& callback, const std::shared_ptr<LinuxKeyboard>& keyboard);
    bool scheduledOn(const platform::Queue* queue) const;

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<LinuxKeyboard>> connected_;
    const platform::HidResult openResult_;
    std::vector<platform::HidDeviceMatch> criteria_;
    // Shared, so that a delivery copies no callback.
    std::shared_ptr<const InputValueCallback> inputValueCallback_;
    DeviceCallback matchingCallback_;
    DeviceCallback removalCallback_;
    bool open_ = false;
    platform::Queue* queue_ = nullptr;
};

}  // namespace veltrane::linuxbackend
