#include "platform/sim/HidStack.h"

#include "platform/KeyTable.h"
#include "platform/sim/DesktopLock.h"
#include "platform/sim/Faults.h"
#include "platform/sim/WindowServer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace veltrane::sim {

HidStack::HidStack(DesktopLock& lock, Transcript& transcript, Faults& faults, WindowServer& windowServer)
    : lock_(lock), transcript_(transcript), faults_(faults), windowServer_(windowServer)
{
}

template <class Action> void HidStack::forEachManager(Action action)
{
    std::erase_if(managers_, [](const auto& manager) { return manager.expired(); });
    const auto managers = managers_;
    for (const auto& weak : managers) {
        if (const auto manager = weak.lock()) {
            action(*manager);
        }
    }
}

SimKeyboard& HidStack::connect(const std::string& name, SimKeyboard::Properties properties)
{
    const std::lock_guard guard(lock_);
    auto keyboard = std::make_shared<SimKeyboard>(name, std::move(properties), lock_, transcript_, faults_);
    add(keyboard);
    return *keyboard;
}

void HidStack::connectPointingDevice(const std::string& name, SimHidDevice::Properties properties,
                                     SimHidDevice::Properties serviceProperties)
{
    const std::lock_guard guard(lock_);
    add(std::make_shared<SimPointingDevice>(name, std::move(properties), std::move(serviceProperties)));
}

void HidStack::add(const std::shared_ptr<SimHidDevice>& device)
{
    if (find(device->name())) {
        throw std::invalid_argument("device '" + device->name() + "' is already connected");
    }
    devices_.push_back(device);
    forEachManager([&](platform::MatchingHidManager& manager) { manager.deviceAdded(device); });
}

void HidStack::unplug(const std::string& name)
{
    const std::lock_guard guard(lock_);
    const auto device = find(name);
    if (!device) {
        throw std::invalid_argument("unknown device '" + name + "'");
    }
    // As a keyboard pulled out of the real machine: what it held goes up, the last pressed first.
    if (const auto keyboard = std::dynamic_pointer_cast<SimKeyboard>(device)) {
        const auto held = keyboard->heldKeys();
        std::for_each(held.rbegin(), held.rend(), [&](HidKey key) { send(keyboard, key, false); });
    }
    device->disconnect();
    std::erase(devices_, device);
    forEachManager([&](platform::MatchingHidManager& manager) { manager.deviceRemoved(device); });
}

SimKeyboard* HidStack::keyboard(const std::string& name) const
{
    const std::lock_guard guard(lock_);
    return dynamic_cast<SimKeyboard*>(find(name).get());
}

std::shared_ptr<SimHidDevice> HidStack::find(const std::string& name) const
{
    const auto found = std::find_if(devices_.begin(), devices_.end(),
                                    [&](const auto& device) { return device->name() == name; });
    return found == devices_.end() ? nullptr : *found;
}

void HidStack::key(const std::string& name, HidKey key, bool down)
{
    const std::lock_guard guard(lock_);
    const auto keyboard = std::dynamic_pointer_cast<SimKeyboard>(find(name));
    if (!keyboard) {
        throw std::invalid_argument("unknown keyboard '" + name + "'");
    }
    send(keyboard, key, down);
}

void HidStack::send(const std::shared_ptr<SimKeyboard>& keyboard, HidKey key, bool down)
{
    sendRawValue(keyboard, key, down);
    if (const auto mapped = down ? keyboard->press(key) : keyboard->release(key)) {
        windowServer_.keyFromDevice(*mapped, down);
    }
}

void HidStack::key(const std::string& name, std::string_view keyName, bool down)
{
    const auto* known = platform::KeyTable::byName(keyName);
    if (known == nullptr) {
        throw std::invalid_argument("unknown key name '" + std::string(keyName) + "'");
    }
    key(name, HidKey{known->usagePage, known->usage}, down);
}

void HidStack::sendRawValue(const std::shared_ptr<SimKeyboard>& keyboard, HidKey key, bool down)
{
    const platform::HidValue value{key.page, key.usage, platform::HidElementType::button, down ? 1 : 0,
                                   keyboard};
    const platform::HidResult result =
        std::exchange(faults_.hidValue, std::nullopt).value_or(platform::kHidSuccess);
    forEachManager([&](platform::MatchingHidManager& manager) { manager.queueInputValue(result, value); });
}

std::shared_ptr<platform::HidManager> HidStack::createHidManager()
{
    const std::lock_guard guard(lock_);
    auto manager = std::make_shared<platform::MatchingHidManager>(
        std::vector<std::shared_ptr<const platform::HidDevice>>(devices_.begin(), devices_.end()),
        [this] { return openResult(); });
    managers_.push_back(manager);
    return manager;
}

platform::HidResult HidStack::openResult()
{
    const std::lock_guard guard(lock_);
    return std::exchange(faults_.hidOpen, std::nullopt).value_or(platform::kHidSuccess);
}

std::optional<std::vector<std::shared_ptr<platform::HidServiceClient>>> HidStack::copyServices()
{
    const std::lock_guard guard(lock_);
    if (std::exchange(faults_.noServices, false)) {
        return std::nullopt;
    }
    std::vector<std::shared_ptr<platform::HidServiceClient>> services;
    for (const auto& device : devices_) {
        if (auto keyboard = std::dynamic_pointer_cast<SimKeyboard>(device)) {
            services.push_back(std::move(keyboard));
        }
    }
    return services;
}

}  // namespace veltrane::sim
