#include "platform/sim/SimHidManager.h"

#include "platform/sim/Faults.h"
#include "platform/sim/SimKeyboard.h"
#include "platform/sim/SimQueue.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace veltrane::sim {

SimHidManager::SimHidManager(Faults& faults, std::vector<std::shared_ptr<SimKeyboard>> connected)
    : faults_(faults), connected_(std::move(connected))
{
}

void SimHidManager::setDeviceMatching(std::vector<platform::HidDeviceMatch> criteria)
{
    criteria_ = std::move(criteria);
}

void SimHidManager::registerInputValueCallback(InputValueCallback callback)
{
    inputValueCallback_ = std::move(callback);
}

void SimHidManager::registerDeviceMatchingCallback(DeviceCallback callback)
{
    matchingCallback_ = std::move(callback);
}

void SimHidManager::registerDeviceRemovalCallback(DeviceCallback callback)
{
    removalCallback_ = std::move(callback);
}

platform::HidResult SimHidManager::open()
{
    const platform::HidResult result =
        std::exchange(faults_.hidOpen, std::nullopt).value_or(platform::kHidSuccess);
    open_ = result == platform::kHidSuccess;
    return result;
}

void SimHidManager::schedule(platform::Queue& queue)
{
    auto* simQueue = dynamic_cast<SimQueue*>(&queue);
    if (simQueue == nullptr) {
        throw std::logic_error("a simulated HID manager runs only on a simulated queue");
    }
    queue_ = simQueue->shared_from_this();
    for (const auto& keyboard : connected_) {
        if (matches(*keyboard) && matchingCallback_) {
            deliver([callback = matchingCallback_, keyboard] { callback(keyboard); });
        }
    }
}

void SimHidManager::unschedule()
{
    queue_.reset();
}

void SimHidManager::close()
{
    open_ = false;
}

void SimHidManager::deviceAdded(const std::shared_ptr<SimKeyboard>& keyboard)
{
    connected_.push_back(keyboard);
    if (matches(*keyboard) && matchingCallback_) {
        deliver([callback = matchingCallback_, keyboard] { callback(keyboard); });
    }
}

void SimHidManager::deviceRemoved(const std::shared_ptr<SimKeyboard>& keyboard)
{
    std::erase(connected_, keyboard);
    if (matches(*keyboard) && removalCallback_) {
        deliver([callback = removalCallback_, keyboard] { callback(keyboard); });
    }
}

void SimHidManager::inputValue(platform::HidResult result, const platform::HidValue& value)
{
    const auto* keyboard = dynamic_cast<const SimKeyboard*>(value.device.get());
    if (open_ && inputValueCallback_ && keyboard != nullptr && matches(*keyboard)) {
        deliver([callback = inputValueCallback_, result, value] { callback(result, value); });
    }
}

bool SimHidManager::matches(const SimKeyboard& keyboard) const
{
    return std::any_of(criteria_.begin(), criteria_.end(), [&](const platform::HidDeviceMatch& match) {
        return keyboard.conformsTo(match.usagePage, match.usage);
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
        if (manager && manager->queue_.lock().get() == target) {
            callback();
        }
    });
}

}  // namespace veltrane::sim
