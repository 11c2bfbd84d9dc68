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
    bool running = false;
    {
        const std::lock_guard lock(mutex_);
        running = hidManager_ != nullptr;
    }
    if (!running && wanted) {
        listen();
    } else if (running && !wanted) {
        stopListening();
    }
}

void KeyboardHID::listen()
{
    const double now = platform_.clock.now();
    {
        const std::lock_guard lock(mutex_);
        if (lastListenerStart_ && now - *lastListenerStart_ <= kListenGuardSeconds) {
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
}

void KeyboardHID::inputValue(platform::HidResult result, const platform::HidValue& value)
{
    if (disabled_.load(std::memory_order_relaxed)) {
        return;
    }
    if (result != platform::kHidSuccess) {
        LOGGING_INFO("Keystroke error " + std::to_string(result));
        listen();
        return;
    }
    if (value.usagePage != kKeyboardPage) {
        LOGGING_DEBUG("Non-keyboard usage " + std::to_string(value.usagePage));
    }
    if (value.elementType != platform::HidElementType::button) {
        LOGGING_DEBUG("Non-button type input " +
                      std::to_string(static_cast<std::uint32_t>(value.elementType)));
    }
    if (!isKeyboardKey(value)) {
        return;
    }
    const bool pressed = value.integerValue == 1;
    bool clearCapsLock = false;
    if (defaults_.winRemap().isOn()) {
        swapForOtherMakers(value, pressed);
    }
    const std::int64_t physicalKey = defaults_.physicalKeycode().value();
    if (defaults_.keyRemap().isOn() && physicalKey >= 0 && value.usage == physicalKey) {
        hyperKey(value.usage, pressed, value.integerValue, clearCapsLock);
    }
    if (defaults_.executeQuickHyperKey().isOn()) {
        quickPress(value.usage, pressed, clearCapsLock);
    }
    if (value.usage == PhysicalKey::kCapsLock && defaults_.listenerRemap().isOn() &&
        defaults_.capsLockRemapped().isOn()) {
        remapCapsLockBySyntheticEvents(pressed);
    }
    if (clearCapsLock) {
        platform_.hidSystem.setCapsLockState(false);
    }
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

void KeyboardHID::remapCapsLockBySyntheticEvents(bool pressed)
{
    const auto keyCode = UsageKeyCodes::keyCode(defaults_.capsLockKeycode().value());
    if (keyCode) {
        const platform::EventFlags flags = platform_.eventPoster.modifierFlags() & kDeviceIndependentFlags;
        keyPresser_.press(*keyCode, flags, false, pressed ? KeyPresser::down : KeyPresser::up, true);
    }
}

void KeyboardHID::updateImage()
{
    if (defaults_.keyMenuBarIcon().isOn()) {
        indicator_.showHyper(hyperFlags_.keyDown());
    }
}

}  // namespace veltrane
