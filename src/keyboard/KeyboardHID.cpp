#include "keyboard/KeyboardHID.h"

#include "core/Notifications.h"
#include "keyboard/PhysicalKey.h"
#include "keyboard/UsageKeyCodes.h"
#include "logging/Log.h"
#include "platform/HidProperties.h"

#include <limits>
#include <utility>

namespace veltrane {

namespace {

constexpr std::uint32_t kKeyboardPage = 7;
constexpr std::uint32_t kVendorPage = 0xFF;
constexpr std::uint32_t kFnUsage = 3;
constexpr std::uint32_t kFirstKeyUsage = 4;
constexpr std::uint32_t kLastKeyUsage = 0xE7;
constexpr std::uint32_t kLeftOption = 0xE2;
constexpr std::uint32_t kRightOption = 0xE6;
constexpr std::uint32_t kLeftCommand = 0xE3;
constexpr std::uint32_t kRightCommand = 0xE7;
constexpr std::uint16_t kCommandKeyCode = 0x37;
constexpr std::int64_t kAppleVendor = 0x5AC;
constexpr std::int64_t kAppleVendorBluetooth = 0x4C;
constexpr double kListenGuardSeconds = 1.0;
// A start refused by the guard comes this long after the guard's second.
constexpr double kPastTheGuard = 0.001;
constexpr platform::EventFlags kDeviceIndependentFlags = 0xFFFF0000;

bool isKeyboardKey(const platform::HidValue& value)
{
    return (value.usage >= kFirstKeyUsage && value.usage <= kLastKeyUsage) ||
           (value.usagePage == kVendorPage && value.usage == kFnUsage);
}

bool isAppleKeyboard(const platform::HidValue& value)
{
    const auto vendor =
        value.device ? platform::integerProperty(*value.device, platform::kHidVendorId) : std::nullopt;
    return vendor == kAppleVendor || vendor == kAppleVendorBluetooth;
}

}  // namespace

KeyboardHID::KeyboardHID(const platform::Platform& platform, Defaults& defaults, HyperFlags& hyperFlags,
                         KeyPresser& keyPresser, HidRemap& hidRemap, HyperIndicator& indicator)
    : platform_(platform), defaults_(defaults), hyperFlags_(hyperFlags), keyPresser_(keyPresser),
      hidRemap_(hidRemap), indicator_(indicator),
      frontmostObserver_(platform.notificationCenter.observe(
          Notifications::kFrontmostAppToggle, [this](const std::any& object) {
              const auto* disabled = std::any_cast<bool>(&object);
              disabled_.store(disabled != nullptr && *disabled, std::memory_order_relaxed);
          }))
{
}

KeyboardHID::~KeyboardHID()
{
    platform_.notificationCenter.removeObserver(frontmostObserver_);
    stopListening();
}

void KeyboardHID::refresh(bool restart)
{
    if (restart) {
        stopListening();
    }
    const bool wanted =
        defaults_.winRemap().isOn() || defaults_.keyRemap().isOn() || defaults_.executeQuickHyperKey().isOn();
    if (!wanted) {
        stopListening();  // also when a start still waits for its second
        return;
    }
    bool running = false;
    {
        const std::lock_guard lock(mutex_);
        running = hidManager_ != nullptr;
    }
    if (!running) {
        listen();
    }
}

void KeyboardHID::listen()
{
    const double now = platform_.clock.now();
    {
        const std::lock_guard lock(mutex_);
        if (lastListenerStart_ && now - *lastListenerStart_ <= kListenGuardSeconds) {
            startAfterGuard(now);
            return;
        }
    }
    stopListening();
    auto manager = platform_.hidManagers.createHidManager();
    manager->setDeviceMatching({{1, 6}});
    manager->registerInputValueCallback(
        [this](platform::HidResult result, const platform::HidValue& value) { inputValue(result, value); });
    const platform::HidResult result = manager->open();
    LOGGING_INFO("Open: " + std::to_string(result));
    showOpenFailure(result);
    std::shared_ptr<platform::Queue> queue;
    {
        const std::lock_guard lock(mutex_);
        hidManager_ = manager;
        if (!hidThread_) {
            hidThread_ = platform_.dispatch.makeSerialQueue("hidQueue");
        }
        queue = hidThread_;
        lastListenerStart_ = now;
    }
    // A manager that could not be opened is scheduled all the same, as the listener goes on.
    queue->async([manager, target = queue.get()] { manager->schedule(*target); });
}

// The guard keeps repeated input errors from restarting the listener in a storm; it must not keep
// the listener stopped when the settings want it running (two changes of a setting in a second, a
// wake just after the start), so the start it refuses comes a moment after its second.
void KeyboardHID::startAfterGuard(double now)
{
    if (std::exchange(startWaiting_, true)) {
        return;
    }
    const double wait = *lastListenerStart_ + kListenGuardSeconds - now + kPastTheGuard;
    platform_.dispatch.mainQueue().asyncAfter(wait, [this, alive = std::weak_ptr(alive_)] {
        if (alive.lock()) {
            startIfWaiting();
        }
    });
}

void KeyboardHID::startIfWaiting()
{
    bool waiting = false;
    {
        const std::lock_guard lock(mutex_);
        waiting = std::exchange(startWaiting_, false);
    }
    if (waiting) {
        listen();
    }
}

void KeyboardHID::showOpenFailure(platform::HidResult result)
{
    if (result == platform::kHidSuccess) {
        return;
    }
    const auto text = platform_.system.permissionHelp().listenerAlertText;
    platform_.alerts.showAlert(result == platform::kHidNotPermitted ? "Veltrane has insufficient privileges"
                                                                    : "Unable to initialize Veltrane",
                               text, "OK");
}

void KeyboardHID::stopListening()
{
    std::shared_ptr<platform::Queue> queue;
    {
        const std::lock_guard lock(mutex_);
        startWaiting_ = false;
        if (!hidManager_ || !hidThread_) {
            return;
        }
        queue = hidThread_;
    }
    queue->sync([this] {
        std::shared_ptr<platform::HidManager> manager;
        {
            const std::lock_guard lock(mutex_);
            manager = std::exchange(hidManager_, nullptr);
        }
        if (manager) {
            manager->unschedule();
            manager->close();
        }
    });
    // No value arrives any more: what the listener holds may be let go from here, where the status
    // item can be told without waiting for the main queue.
    letGo();
}

void KeyboardHID::inputValue(platform::HidResult result, const platform::HidValue& value)
{
    // Standing aside, the listener starts nothing; but a key pressed before must still come up,
    // or its hyper state and modifiers would stay on every later event.
    const bool disabled = disabled_.load(std::memory_order_relaxed);
    if (disabled && (result != platform::kHidSuccess || value.integerValue == 1)) {
        return;
    }
    if (result != platform::kHidSuccess) {
        LOGGING_INFO("Keystroke error " + std::to_string(result));
        listen();
        return;
    }
    logUnexpected(value);
    if (!isKeyboardKey(value)) {
        return;
    }
    const bool pressed = value.integerValue == 1;
    bool clearCapsLock = false;
    if (defaults_.winRemap().isOn() || !pressed) {
        swapForOtherMakers(value, pressed);
    }
    if (pressed ? !disabled && isHyperKey(value.usage) : hyperUsage_ == value.usage) {
        hyperKey(value.usage, pressed, value.integerValue, clearCapsLock);
    }
    if (!disabled && defaults_.executeQuickHyperKey().isOn()) {
        quickPress(value.usage, pressed, clearCapsLock);
    }
    if (value.usage == PhysicalKey::kCapsLock &&
        (pressed ? defaults_.listenerRemap().isOn() && defaults_.capsLockRemapped().isOn()
                 : capsLockSent_.has_value())) {
        remapCapsLockBySyntheticEvents(pressed);
    }
    if (clearCapsLock) {
        platform_.hidSystem.setCapsLockState(false);
    }
}

void KeyboardHID::logUnexpected(const platform::HidValue& value)
{
    if (value.usagePage != kKeyboardPage) {
        LOGGING_DEBUG("Non-keyboard usage " + std::to_string(value.usagePage));
    }
    if (value.elementType != platform::HidElementType::button) {
        LOGGING_DEBUG("Non-button type input " +
                      std::to_string(static_cast<std::uint32_t>(value.elementType)));
    }
}

bool KeyboardHID::isHyperKey(std::uint32_t usage)
{
    const std::int64_t physicalKey = defaults_.physicalKeycode().value();
    return defaults_.keyRemap().isOn() && physicalKey >= 0 && usage == physicalKey;
}

void KeyboardHID::swapForOtherMakers(const platform::HidValue& value, bool pressed)
{
    const bool held = pressed && !isAppleKeyboard(value);
    if (value.usage == kLeftOption || value.usage == kRightOption) {
        hyperFlags_.setOptionDown(held);
    } else if (value.usage == kLeftCommand || value.usage == kRightCommand) {
        hyperFlags_.setCommandDown(held);
    }
}

void KeyboardHID::hyperKey(std::uint32_t usage, bool pressed, std::int64_t integerValue, bool& clearCapsLock)
{
    hyperUsage_ = pressed ? std::optional(usage) : std::nullopt;
    const bool manualKeypress = defaults_.hyperAsCapsLockManualKeypress().isOn();
    const bool capsLockStaysCommand = !defaults_.hyperAsCapsLockDisables().isOff();
    if (capsLockStaysCommand && !manualKeypress) {
        LOGGING_DEBUG(std::to_string(usage) + ": " + std::to_string(integerValue));
        hyperFlags_.setKeyDown(pressed);
        updateImage();
        return;
    }
    if (usage != PhysicalKey::kCapsLock) {
        hyperFlags_.setKeyDown(pressed);
        updateImage();
        return;
    }
    if (pressed) {
        hyperFlags_.setKeyDown(true);
        updateImage();
        if (manualKeypress) {
            keyPresser_.post(kCommandKeyCode, true);
        }
        return;
    }
    if (manualKeypress) {
        keyPresser_.post(kCommandKeyCode, false);
    }
    hyperFlags_.setKeyDown(false);
    updateImage();
    // Caps lock still toggles its lock at the HID level in this set-up; the hyper key must not.
    clearCapsLock = defaults_.hyperAsCapsLockDisables().isOff();
}

void KeyboardHID::quickPress(std::uint32_t usage, bool pressed, bool& clearCapsLock)
{
    if (usage != PhysicalKey::kCapsLock) {
        if (pressed) {
            hyperDownTime_.reset();  // another key during the hold: no quick press
        }
        return;
    }
    const double now = platform_.clock.now();
    if (pressed) {
        hyperDownTime_ = now;
        return;
    }
    const std::int64_t quickKey = defaults_.quickHyperKeycode().value();
    const bool quick =
        hyperDownTime_ && now - *hyperDownTime_ < static_cast<double>(defaults_.quickPressTimeout().value());
    if (!quick) {
        clearCapsLock = clearCapsLock || (quickKey == 0 && defaults_.longPressCapsLockTurnsItOff().isOn());
        return;
    }
    if (quickKey != 0) {
        clearCapsLock = clearCapsLock || !hidRemap_.isRemapped(PhysicalKey::kCapsLock);
        sendQuickKey(quickKey);
    } else {
        if (hidRemap_.isRemapped(PhysicalKey::kCapsLock)) {
            platform_.hidSystem.setCapsLockState(!platform_.hidSystem.capsLockState());
        }
        clearCapsLock = false;
    }
}

void KeyboardHID::sendQuickKey(std::int64_t keyCode)
{
    if (keyCode < 0 || keyCode > std::numeric_limits<std::uint16_t>::max()) {
        return;
    }
    platform_.dispatch.mainQueue().async([this, code = static_cast<std::uint16_t>(keyCode)] {
        keyPresser_.post(code, true);
        keyPresser_.post(code, false);
    });
}

// The key that went down is the one that comes up, whatever the setting says by then.
void KeyboardHID::remapCapsLockBySyntheticEvents(bool pressed)
{
    const auto keyCode = pressed ? UsageKeyCodes::keyCode(defaults_.capsLockKeycode().value())
                                 : std::exchange(capsLockSent_, {});
    if (keyCode) {
        const platform::EventFlags flags = platform_.eventPoster.modifierFlags() & kDeviceIndependentFlags;
        keyPresser_.press(*keyCode, flags, false, pressed ? KeyPresser::down : KeyPresser::up, true);
        if (pressed) {
            capsLockSent_ = keyCode;
        }
    }
}

void KeyboardHID::letGo()
{
    bool clearCapsLock = false;
    if (hyperUsage_) {
        hyperKey(*hyperUsage_, false, 0, clearCapsLock);
    }
    hyperFlags_.setOptionDown(false);
    hyperFlags_.setCommandDown(false);
    if (capsLockSent_) {
        remapCapsLockBySyntheticEvents(false);
    }
    if (clearCapsLock) {
        platform_.hidSystem.setCapsLockState(false);
    }
}

void KeyboardHID::updateImage()
{
    if (defaults_.keyMenuBarIcon().isOn()) {
        indicator_.showHyper(hyperFlags_.keyDown());
    }
}

}  // namespace veltrane
