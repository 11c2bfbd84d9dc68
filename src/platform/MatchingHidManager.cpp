#include "platform/MatchingHidManager.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace veltrane::platform {

MatchingHidManager::MatchingHidManager(std::vector<std::shared_ptr<const HidDevice>> connected,
                                       Opening opening)
    : connected_(std::move(connected)), opening_(std::move(opening))
{
}

void MatchingHidManager::setDeviceMatching(std::vector<HidDeviceMatch> criteria)
{
    const std::lock_guard guard(mutex_);
    criteria_ = std::move(criteria);
}

void MatchingHidManager::registerInputValueCallback(InputValueCallback callback)
{
    const std::lock_guard guard(mutex_);
    inputValueCallback_ = std::make_shared<const InputValueCallback>(std::move(callback));
}

void MatchingHidManager::registerDeviceMatchingCallback(DeviceCallback callback)
{
    const std::lock_guard guard(mutex_);
    matchingCallback_ = std::move(callback);
}

void MatchingHidManager::registerDeviceRemovalCallback(DeviceCallback callback)
{
    const std::lock_guard guard(mutex_);
    removalCallback_ = std::move(callback);
}

// The backend is asked without the lock: it may take its own, under which it tells of devices.
HidResult MatchingHidManager::open()
{
    const HidResult result = opening_();
    const std::lock_guard guard(mutex_);
    open_ = result == kHidSuccess;
    return result;
}

void MatchingHidManager::schedule(Queue& queue)
{
    const std::lock_guard guard(mutex_);
    queue_ = &queue;
    for (const auto& device : connected_) {
        if (matches(*device)) {
            deliverDevice(matchingCallback_, device);
        }
    }
}

void MatchingHidManager::unschedule()
{
    const std::lock_guard guard(mutex_);
    queue_ = nullptr;
}

void MatchingHidManager::close()
{
    const std::lock_guard guard(mutex_);
    open_ = false;
}

void MatchingHidManager::deviceAdded(const std::shared_ptr<const HidDevice>& device)
{
    const std::lock_guard guard(mutex_);
    connected_.push_back(device);
    if (matches(*device)) {
        deliverDevice(matchingCallback_, device);
    }
}

void MatchingHidManager::deviceRemoved(const std::shared_ptr<const HidDevice>& device)
{
    const std::lock_guard guard(mutex_);
    std::erase(connected_, device);
    if (matches(*device)) {
        deliverDevice(removalCallback_, device);
    }
}

void MatchingHidManager::queueInputValue(HidResult result, const HidValue& value)
{
    const std::lock_guard guard(mutex_);
    if (takesValue(value)) {
        deliver([callback = inputValueCallback_, result, value] { (*callback)(result, value); });
    }
}

void MatchingHidManager::runInputValue(HidResult result, const HidValue& value)
{
    Queue* queue = nullptr;
    std::shared_ptr<const InputValueCallback> callback;
    {
        const std::lock_guard guard(mutex_);
        if (!takesValue(value)) {
            return;
        }
        queue = queue_;
        callback = inputValueCallback_;
    }
    if (queue != nullptr) {
        // By reference: a task that carries more than two pointers would be allocated for each key.
        const auto run = [&] {
            if (scheduledOn(queue)) {
                (*callback)(result, value);
            }
        };
        queue->sync(std::ref(run));
    }
}

bool MatchingHidManager::matches(const HidDevice& device) const
{
    return std::any_of(criteria_.begin(), criteria_.end(), [&](const HidDeviceMatch& match) {
        return device.conformsTo(match.usagePage, match.usage);
    });
}

bool MatchingHidManager::takesValue(const HidValue& value) const
{
    return open_ && inputValueCallback_ && value.device && matches(*value.device);
}

void MatchingHidManager::deliverDevice(const DeviceCallback& callback,
                                       const std::shared_ptr<const HidDevice>& device)
{
    if (callback) {
        deliver([callback, device] { callback(device); });
    }
}

void MatchingHidManager::deliver(std::function<void()> call)
{
    if (queue_ == nullptr) {
        return;
    }
    queue_->async([self = weak_from_this(), target = queue_, call = std::move(call)] {
        const auto manager = self.lock();
        if (manager && manager->scheduledOn(target)) {
            call();
        }
    });
}

bool MatchingHidManager::scheduledOn(const Queue* queue) const
{
    const std::lock_guard guard(mutex_);
    return queue_ == queue && queue != nullptr;
}

}  // namespace veltrane::platform
