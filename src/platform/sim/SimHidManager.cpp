#include "platform/sim/SimHidManager.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/Faults.h"
#include "platform/sim/SimHidDevice.h"
#include "platform/sim/SimQueue.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace veltrane::sim {

SimHidManager::SimHidManager(DesktopLock& lock, Faults& faults,
                             std::vector<std::shared_ptr<SimHidDevice>> connected)
    : lock_(lock), faults_(faults), connected_(std::move(connected))
{
}

void SimHidManager::setDeviceMatching(std::vector<platform::HidDeviceMatch> criteria)
{
    const std::lock_guard guard(lock_);
    criteria_ = std::move(criteria);
}

void SimHidManager::registerInputValueCallback(InputValueCallback callback)
{
    const std::lock_guard guard(lock_);
    inputValueCallback_ = std::move(callback);
}

void SimHidManager::registerDeviceMatchingCallback(DeviceCallback callback)
{
    const std::lock_guard guard(lock_);
    matchingCallback_ = std::move(callback);
}

void SimHidManager::registerDeviceRemovalCallback(DeviceCallback callback)
{
    const std::lock_guard guard(lock_);
    removalCallback_ = std::move(callback);
}

platform::HidResult SimHidManager::open()
{
    const std::lock_guard guard(lock_);
    const platform::HidResult result =
        std::exchange(faults_.hidOpen, std::nullopt).value_or(platform::kHidSuccess);
    open_ = result == platform::kHidSuccess;
    return result;
}

void SimHidManager::schedule(platform::Queue& queue)
{
    const std::lock_guard guard(lock_);
    auto* simQueue = dynamic_cast<SimQueue*>(&queue);
    if (simQueue == nullptr) {
        throw std::logic_error("a simulated HID manager runs only on a simulated queue");
    }
    queue_ = simQueue->shared_from_this();
    for (const auto& device : connected_) {
        if (matches(*device) && matchingCallback_) {
            deliver([callback = matchingCallback_, device] { callback(device); });
        }
    }
}

void SimHidManager::unschedule()
{
    const std::lock_guard guard(lock_);
    queue_.reset();
}

void SimHidManager::close()
{
    const std::lock_guard guard(lock_);
    open_ = false;
}

void SimHidManager::deviceAdded(const std::shared_ptr<SimHidDevice>& device)
{
    const std::lock_guard guard(lock_);
    connected_.push_back(device);
    if (matches(*device) && matchingCallback_) {
        deliver([callback = matchingCallback_, device] { callback(device); });
    }
}

void SimHidManager::deviceRemoved(const std::shared_ptr<SimHidDevice>& device)
{
    const std::lock_guard guard(lock_);
    std::erase(connected_, device);
    if (matches(*device) && removalCallback_) {
        deliver([callback = removalCallback_, device] { callback(device); });
    }
}

void SimHidManager::inputValue(platform::HidResult result, const platform::HidValue& value)
{
    const std::lock_guard guard(lock_);
    const auto* device = dynamic_cast<const SimHidDevice*>(value.device.get());
    if (open_ && inputValueCallback_ && device != nullptr && matches(*device)) {
        deliver([callback = inputValueCallback_, result, value] { callback(result, value); });
    }
}

bool SimHidManager::matches(const SimHidDevice& device) const
{
    return std::any_of(criteria_.begin(), criteria_.end(), [&](const platform::HidDeviceMatch& match) {
        return device.conformsTo(match.usagePage, match.usage);
    });
}

void SimHidManager::deliver(std::function<void()> callback)
{
    const auto queue = queue_.lock();
    if (!queue) {
        return;
    }
    queue->async([self = weak_from_this(), target = queue.get(), callback = std::move(callback)] {
        const auto manager = self.lock();
        if (manager && manager->scheduledOn(target)) {
            callback();
        }
    });
}

bool SimHidManager::scheduledOn(const SimQueue* queue) const
{
    const std::lock_guard guard(lock_);
    return queue_.lock().get() == queue;
}

}  // namespace veltrane::sim
