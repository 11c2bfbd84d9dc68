#include "platform/linux/hid/LinuxHidManager.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace veltrane::linuxbackend {

LinuxHidManager::LinuxHidManager(std::vector<std::shared_ptr<LinuxKeyboard>> connected,
                                 platform::HidResult openResult)
    : connected_(std::move(connected)), openResult_(openResult)
{
}

void LinuxHidManager::setDeviceMatching(std::vector<platform::HidDeviceMatch> criteria)
{
    const std::lock_guard guard(mutex_);
    criteria_ = std::move(criteria);
}

void LinuxHidManager::registerInputValueCallback(InputValueCallback callback)
{
    const std::lock_guard guard(mutex_);
    inputValueCallback_ = std::make_shared<const InputValueCallback>(std::move(callback));
}

void LinuxHidManager::registerDeviceMatchingCallback(DeviceCallback callback)
{
    const std::lock_guard guard(mutex_);
    matchingCallback_ = std::move(callback);
}

void LinuxHidManager::registerDeviceRemovalCallback(DeviceCallback callback)
{
    const std::lock_guard guard(mutex_);
    removalCallback_ = std::move(callback);
}

platform::HidResult LinuxHidManager::open()
{
    const std::lock_guard guard(mutex_);
    open_ = openResult_ == platform::kHidSuccess;
    return openResult_;
}

void LinuxHidManager::schedule(platform::Queue& queue)
{
    const std::lock_guard guard(mutex_);
    queue_ = &queue;
    for (const auto& keyboard : connected_) {
        if (matches(*keyboard)) {
            deliver(matchingCallback_, keyboard);
        }
    }
}

void LinuxHidManager::unschedule()
{
    const std::lock_guard guard(mutex_);
    queue_ = nullptr;
}

void LinuxHidManager::close()
{
    const std::lock_guard guard(mutex_);
    open_ = false;
}

void LinuxHidManager::deviceAdded(const std::shared_ptr<LinuxKeyboard>& keyboard)
{
    const std::lock_guard guard(mutex_);
    connected_.push_back(keyboard);
    if (matches(*keyboard)) {
        deliver(matchingCallback_, keyboard);
    }
}

void LinuxHidManager::deviceRemoved(const std::shared_ptr<LinuxKeyboard>& keyboard)
{
    const std::lock_guard guard(mutex_);
    std::erase(connected_, keyboard);
    if (matches(*keyboard)) {
        deliver(removalCallback_, keyboard);
    }
}

void LinuxHidManager::inputValue(const platform::HidValue& value)
{
    platform::Queue* queue = nullptr;
    std::shared_ptr<const InputValueCallback> callback;
    {
        const std::lock_guard guard(mutex_);
        const auto* keyboard = dynamic_cast<const LinuxKeyboard*>(value.device.get());
        if (!open_ || !inputValueCallback_ || keyboard == nullptr || !matches(*keyboard)) {
            return;
        }
        queue = queue_;
        callback = inputValueCallback_;
    }
    if (queue != nullptr) {
        // By reference: a task that carries more than two pointers would be allocated for each key.
        const auto deliver = [&] {
            if (scheduledOn(queue)) {
                (*callback)(platform::kHidSuccess, value);
            }
        };
        queue->sync(std::ref(deliver));
    }
}

bool LinuxHidManager::matches(const LinuxKeyboard& keyboard) const
{
    return std::any_of(criteria_.begin(), criteria_.end(), [&](const platform::HidDeviceMatch& match) {
        return keyboard.conformsTo(match.usagePage, match.usage);
    });
}

void LinuxHidManager::deliver(const DeviceCallback& callback, const std::shared_ptr<LinuxKeyboard>& keyboard)
{
    if (queue_ == nullptr || !callback) {
        return;
    }
    queue_->async([self = weak_from_this(), target = queue_, callback, keyboard] {
        const auto manager = self.lock();
        if (manager && manager->scheduledOn(target)) {
            callback(keyboard);
        }
    });
}

bool LinuxHidManager::scheduledOn(const platform::Queue* queue) const
{
    const std::lock_guard guard(mutex_);
    return queue_ == queue && queue != nullptr;
}

}  // namespace veltrane::linuxbackend
