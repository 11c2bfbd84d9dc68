#include "HyperKey.h"

#include "platform/HidProperties.h"
#include "platform/HidUsage.h"
#include "platform/KeyTable.h"

#include <utility>

namespace veltrane::linuxbackend {

namespace {

using platform::EventType;

constexpr platform::HidUsage kCapsLock{7, 0x39};
constexpr platform::EventFlags kHyper =
    platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand | platform::kFlagShift;

constexpr platform::EventMask bit(EventType type)
{
    return platform::EventMask{1} << static_cast<std::uint32_t>(type);
}

// Keys by the key table's names, so that expectations read like the kernel tests; a key the table does
// not know by its number.
std::string nameOr(const platform::KeyTable::Key* key, std::string number)
{
    return key != nullptr ? std::string(key->name) : number;
}

std::string sign(EventType type)
{
    return type == EventType::keyDown ? "+" : type == EventType::keyUp ? "-" : "~";
}

}  // namespace

HyperKey::HyperKey(platform::HidManagerFactory& managers, platform::Queue& hidQueue,
                   platform::EventTapService& taps, platform::Queue& mainQueue)
    : hidQueue_(hidQueue), mainQueue_(mainQueue), manager_(managers.createHidManager())
{
    manager_->setDeviceMatching({{1, 6}});
    manager_->registerInputValueCallback(
        [this](platform::HidResult, const platform::HidValue& value) { heard(value); });
    manager_->registerDeviceMatchingCallback([this](const auto& added) { device("added ", *added); });
    manager_->registerDeviceRemovalCallback([this](const auto& removed) { device("removed ", *removed); });
    manager_->open();
    manager_->schedule(hidQueue_);
    tap_ = taps.createTap(bit(EventType::keyDown) | bit(EventType::keyUp) | bit(EventType::flagsChanged),
                          [this](EventType, platform::Event& event) { saw(event); });
    tap_->enable(true);
}

std::vector<std::string> HyperKey::take()
{
    const std::lock_guard guard(mutex_);
    return std::exchange(journal_, {});
}

void HyperKey::heard(const platform::HidValue& value)
{
    const platform::HidUsage usage{value.usagePage, value.usage};
    if (usage == kCapsLock) {
        held_ = value.integerValue != 0;
    }
    const auto name = nameOr(platform::KeyTable::byUsage(usage.page, usage.usage),
                             std::to_string(usage.page) + ":" + std::to_string(usage.usage));
    record(hidQueue_, "hid " + std::string(value.integerValue != 0 ? "+" : "-") + name);
}

void HyperKey::saw(platform::Event& event)
{
    const bool add = held_;
    if (add) {
        event.flags |= kHyper;
    }
    const auto name =
        nameOr(platform::KeyTable::byKeyCode(event.keyCode), "code" + std::to_string(event.keyCode));
    record(mainQueue_, "tap " + sign(event.type) + name + (add ? " hyper" : ""));
}

void HyperKey::device(const char* what, const platform::HidDevice& device)
{
    record(hidQueue_, what + platform::textProperty(device, platform::kHidProduct).value_or("?"));
}

void HyperKey::record(const platform::Queue& queue, std::string entry)
{
    const std::lock_guard guard(mutex_);
    journal_.push_back(queue.isCurrent() ? std::move(entry) : "elsewhere " + entry);
}

}  // namespace veltrane::linuxbackend
