#pragma once

#include "platform/EventTapService.h"
#include "platform/HidManager.h"
#include "platform/HidProperties.h"
#include "platform/HidUsage.h"
#include "platform/KeyTable.h"
#include "platform/Queue.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace veltrane::linuxbackend {

// The hyper key as the engine makes it, cut down to what the road must serve: a HID manager on the
// HID queue hears the raw caps lock and holds the hyper state; a tap on the main queue adds the
// four modifier flags to every key event and click (the engine's default) while the state is held.
// Both write what they met to one journal, in the order the two threads met it:
//   "hid +capslock"     a raw value, "+" down, "-" up
//   "tap +a hyper"      an event, "+" key down, "-" key up, "~" flags changed, "click" a button
//                       down or up; "hyper" when the tap added the flags
//   "added Keyboard 1"  a keyboard matched; "removed ..." when it left
// An entry made on another queue than its own starts with "elsewhere ".
class HyperKey {
public:
    HyperKey(platform::HidManagerFactory& managers, platform::Queue& hidQueue,
             platform::EventTapService& taps, platform::Queue& mainQueue)
        : hidQueue_(hidQueue), mainQueue_(mainQueue), manager_(managers.createHidManager())
    {
        manager_->setDeviceMatching({{1, 6}});
        manager_->registerInputValueCallback(
            [this](platform::HidResult, const platform::HidValue& value) { heard(value); });
        manager_->registerDeviceMatchingCallback([this](const auto& added) { device("added ", *added); });
        manager_->registerDeviceRemovalCallback(
            [this](const auto& removed) { device("removed ", *removed); });
        manager_->open();
        manager_->schedule(hidQueue_);
        using enum platform::EventType;
        platform::EventMask keysAndClicks = 0;
        for (const auto type : {keyDown, keyUp, flagsChanged, leftMouseDown, leftMouseUp, rightMouseDown,
                                rightMouseUp, otherMouseDown, otherMouseUp}) {
            keysAndClicks |= platform::EventMask{1} << static_cast<std::uint32_t>(type);
        }
        tap_ = taps.createTap(keysAndClicks,
                              [this](platform::EventType, platform::Event& event) { saw(event); });
        tap_->enable(true);
    }

    // The entries since the last call.
    std::vector<std::string> take()
    {
        const std::lock_guard guard(mutex_);
        return std::exchange(journal_, {});
    }

private:
    // Keys by the key table's names, so that expectations read like the kernel tests; a key the
    // table does not know by its number.
    static std::string nameOr(const platform::KeyTable::Key* key, std::string number)
    {
        return key != nullptr ? std::string(key->name) : number;
    }

    void heard(const platform::HidValue& value)
    {
        const platform::HidUsage usage{value.usagePage, value.usage};
        if (usage == platform::HidUsage{7, 0x39}) {  // caps lock
            held_ = value.integerValue != 0;
        }
        const auto name = nameOr(platform::KeyTable::byUsage(usage.page, usage.usage),
                                 std::to_string(usage.page) + ":" + std::to_string(usage.usage));
        record(hidQueue_, "hid " + std::string(value.integerValue != 0 ? "+" : "-") + name);
    }

    void saw(platform::Event& event)
    {
        const bool add = held_;
        if (add) {
            event.flags |= platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand |
                           platform::kFlagShift;
        }
        record(mainQueue_, "tap " + what(event) + (add ? " hyper" : ""));
    }

    static std::string what(const platform::Event& event)
    {
        using platform::EventType;
        if (event.type != EventType::keyDown && event.type != EventType::keyUp &&
            event.type != EventType::flagsChanged) {
            return "click";
        }
        const auto sign = event.type == EventType::keyDown ? "+" : event.type == EventType::keyUp ? "-" : "~";
        return sign +
               nameOr(platform::KeyTable::byKeyCode(event.keyCode), "code" + std::to_string(event.keyCode));
    }

    void device(const char* what, const platform::HidDevice& device)
    {
        record(hidQueue_, what + platform::textProperty(device, platform::kHidProduct).value_or("?"));
    }

    void record(const platform::Queue& queue, std::string entry)
    {
        const std::lock_guard guard(mutex_);
        journal_.push_back(queue.isCurrent() ? std::move(entry) : "elsewhere " + entry);
    }

    platform::Queue& hidQueue_;
    platform::Queue& mainQueue_;
    std::atomic<bool> held_ = false;
    std::mutex mutex_;
    std::vector<std::string> journal_;
    std::shared_ptr<platform::HidManager> manager_;
    std::shared_ptr<platform::EventTap> tap_;
};

}  // namespace veltrane::linuxbackend
