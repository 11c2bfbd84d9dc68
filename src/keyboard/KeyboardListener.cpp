#include "keyboard/KeyboardListener.h"

#include "core/Notifications.h"
#include "logging/Log.h"

namespace veltrane {

KeyboardListener::KeyboardListener(const platform::Platform& platform, Defaults& defaults)
    : platform_(platform), defaults_(defaults)
{
}

void KeyboardListener::listen()
{
    if (listening_) {
        return;
    }
    listening_ = true;
    auto manager = platform_.hidManagers.createHidManager();
    manager->setDeviceMatching({{1, 6}});
    manager->registerDeviceMatchingCallback([this](const auto& device) { keyboardAdded(*device); });
    manager->registerDeviceRemovalCallback([this](const auto& device) { keyboardRemoved(*device); });
    manager->open();
    queue_ = platform_.dispatch.makeSerialQueue("KeyboardListener");
    queue_->async([manager, queue = queue_.get()] { manager->schedule(*queue); });
    ioHidManager_ = std::move(manager);
}

void KeyboardListener::keyboardAdded(const platform::HidDevice& device)
{
    const auto keyboard = KeyboardDevice::of(device);
    if (!keyboard) {
        return;
    }
    {
        const std::lock_guard lock(devicesMutex_);
        if (!keyboardDevices_.insert(*keyboard).second) {
            return;
        }
    }
    LOGGING_INFO("Detected keyboard: " + keyboard->description());
    const auto delay = static_cast<double>(defaults_.keyboardConnectionDelay().value());
    platform_.dispatch.mainQueue().asyncAfter(delay, [this] { announce(); });
}

void KeyboardListener::keyboardRemoved(const platform::HidDevice& device)
{
    const auto keyboard = KeyboardDevice::of(device);
    if (!keyboard) {
        return;
    }
    platform_.dispatch.mainQueue().async([this, keyboard = *keyboard] {
        {
            const std::lock_guard lock(devicesMutex_);
            keyboardDevices_.erase(keyboard);
        }
        announce();
    });
}

void KeyboardListener::announce()
{
    platform_.notificationCenter.post(Notifications::kKeyboardAddedOrRemoved);
}

}  // namespace veltrane
