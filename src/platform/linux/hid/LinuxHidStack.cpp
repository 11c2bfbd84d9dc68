#include "platform/linux/hid/LinuxHidStack.h"

#include <algorithm>

namespace veltrane::linuxbackend {

void LinuxHidStack::connect(const std::shared_ptr<LinuxKeyboard>& keyboard)
{
    const std::lock_guard guard(mutex_);
    keyboards_.push_back(keyboard);
    announce(keyboard, true);
}

void LinuxHidStack::disconnect(const std::shared_ptr<LinuxKeyboard>& keyboard)
{
    keyboard->disconnect();
    const std::lock_guard guard(mutex_);
    std::erase(keyboards_, keyboard);
    announce(keyboard, false);
}

void LinuxHidStack::connectPointing(const std::shared_ptr<const platform::HidDevice>& device)
{
    const std::lock_guard guard(mutex_);
    pointing_.push_back(device);
    announce(device, true);
}

void LinuxHidStack::disconnectPointing(const std::shared_ptr<const platform::HidDevice>& device)
{
    const std::lock_guard guard(mutex_);
    std::erase(pointing_, device);
    announce(device, false);
}

void LinuxHidStack::announce(const std::shared_ptr<const platform::HidDevice>& device, bool added)
{
    for (const auto& weak : *managers_) {
        if (const auto manager = weak.lock()) {
            added ? manager->deviceAdded(device) : manager->deviceRemoved(device);
        }
    }
}

void LinuxHidStack::rawKey(const std::shared_ptr<LinuxKeyboard>& keyboard, platform::HidUsage key, bool down)
{
    const platform::HidValue value{key.page, key.usage, platform::HidElementType::button, down ? 1 : 0,
                                   keyboard};
    for (const auto& weak : *managers()) {
        if (const auto manager = weak.lock()) {
            manager->runInputValue(platform::kHidSuccess, value);
        }
    }
}

std::shared_ptr<platform::HidManager> LinuxHidStack::createHidManager()
{
    const std::lock_guard guard(mutex_);
    const platform::HidResult opening = permitted_ ? platform::kHidSuccess : platform::kHidNotPermitted;
    std::vector<std::shared_ptr<const platform::HidDevice>> present(keyboards_.begin(), keyboards_.end());
    present.insert(present.end(), pointing_.begin(), pointing_.end());
    const auto manager =
        std::make_shared<platform::MatchingHidManager>(std::move(present), [opening] { return opening; });
    auto managers = std::make_shared<Managers>();
    std::copy_if(managers_->begin(), managers_->end(), std::back_inserter(*managers),
                 [](const auto& weak) { return !weak.expired(); });
    managers->push_back(manager);
    managers_ = std::move(managers);
    return manager;
}

std::optional<std::vector<std::shared_ptr<platform::HidServiceClient>>> LinuxHidStack::copyServices()
{
    const std::lock_guard guard(mutex_);
    return std::vector<std::shared_ptr<platform::HidServiceClient>>(keyboards_.begin(), keyboards_.end());
}

std::shared_ptr<const LinuxHidStack::Managers> LinuxHidStack::managers() const
{
    const std::lock_guard guard(mutex_);
    return managers_;
}

}  // namespace veltrane::linuxbackend
