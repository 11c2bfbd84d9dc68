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
    // Opens a new HID manager on the listener's queue, at most once a second: a start asked for
    // sooner happens once the second has passed, unless the listener is stopped before.
    void listen();
    // Closes the manager; whatever the listener held (the hyper key, the swapped Option and
    // Command, caps lock's replacement) comes up, as it will not hear the releases.
    void stopListening();

private:
    void inputValue(platform::HidResult result, const platform::HidValue& value);
    static void logUnexpected(const platform::HidValue& value);
    bool isHyperKey(std::uint32_t usage);
    void swapForOtherMakers(const platform::HidValue& value, bool pressed);
    void hyperKey(std::uint32_t usage, bool pressed, std::int64_t integerValue, bool& clearCapsLock);
    void quickPress(std::uint32_t usage, bool pressed, bool& clearCapsLock);
    void sendQuickKey(std::int64_t keyCode);
    void remapCapsLockBySyntheticEvents(bool pressed);
    void letGo();
    void updateImage();
    void showOpenFailure(platform::HidResult result);
    void startIfWaiting();
    // With the mutex held.
    void startAfterGuard(double now);

    const platform::Platform& platform_;
    Defaults& defaults_;
    HyperFlags& hyperFlags_;
    KeyPresser& keyPresser_;
    HidRemap& hidRemap_;
    HyperIndicator& indicator_;
    platform::NotificationCenter::Token frontmostObserver_;

    // On the listener's queue while a manager is open, on the caller's once stopListening has
    // closed it.
    std::optional<double> hyperDownTime_;
    // The key whose press holds the hyper state, and the key code sent down for caps lock.
    std::optional<std::uint32_t> hyperUsage_;
    std::optional<std::uint16_t> capsLockSent_;
    std::atomic<bool> disabled_{false};
    // listen() runs on the main queue, or on the listener's queue after an input error.
    std::mutex mutex_;
    std::shared_ptr<platform::HidManager> hidManager_;
    std::shared_ptr<platform::Queue> hidThread_;
    std::optional<double> lastListenerStart_;
    // A start refused by the once-a-second guard waits for its second.
    bool startWaiting_ = false;
    // Tells a waiting start that the listener is gone.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace veltrane
