#pragma once

#include "core/Defaults.h"
#include "core/HyperFlags.h"
#include "core/HyperIndicator.h"
#include "core/KeyPresser.h"
#include "keyboard/HidRemap.h"
#include "platform/Platform.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace veltrane {

// Follows the physical hyper key at the level of raw HID values, before any key mapping, on its
// own queue "hidQueue": holds the hyper state while the key is down, swaps Command and Option for
// keyboards of other makers, performs the quick press of caps lock, sends caps lock's
// replacement itself when asked to, and keeps the caps lock lock state in order.
class KeyboardHID {
public:
    KeyboardHID(const platform::Platform& platform, Defaults& defaults, HyperFlags& hyperFlags,
                KeyPresser& keyPresser, HidRemap& hidRemap, HyperIndicator& indicator);
    ~KeyboardHID();
    KeyboardHID(const KeyboardHID&) = delete;
    KeyboardHID& operator=(const KeyboardHID&) = delete;

    // Starts or stops listening as the settings want it; restart stops it first.
    void refresh(bool restart);
    // Opens a new HID manager on the listener's queue, at most once a second.
    void listen();
    void stopListening();

private:
    void inputValue(platform::HidResult result, const platform::HidValue& value);
    void swapForOtherMakers(const platform::HidValue& value, bool pressed);
    void hyperKey(std::uint32_t usage, bool pressed, std::int64_t integerValue, bool& clearCapsLock);
    void quickPress(std::uint32_t usage, bool pressed, bool& clearCapsLock);
    void sendQuickKey(std::int64_t keyCode);
    void remapCapsLockBySyntheticEvents(bool pressed);
    void updateImage();
    void showOpenFailure(platform::HidResult result);

    const platform::Platform& platform_;
    Defaults& defaults_;
    HyperFlags& hyperFlags_;
    KeyPresser& keyPresser_;
    HidRemap& hidRemap_;
    HyperIndicator& indicator_;
    platform::NotificationCenter::Token frontmostObserver_;

    // Only on the listener's queue.
    std::optional<double> hyperDownTime_;
    std::atomic<bool> disabled_{false};
    // listen() runs on the main queue, or on the listener's queue after an input error.
    std::mutex mutex_;
    std::shared_ptr<platform::HidManager> hidManager_;
    std::shared_ptr<platform::Queue> hidThread_;
    std::optional<double> lastListenerStart_;
};

}  // namespace veltrane
