#include "keyboard/KeyRemap.h"

#include "keyboard/PhysicalKey.h"
#include "logging/Log.h"

namespace veltrane {

namespace {

constexpr std::uint32_t kLeftCommand = 0xE3;
constexpr std::int64_t kNoKeyChoice = -1;
// Keyboard-page usages are 16-bit; anything else stored as caps lock's destination is not a key.
constexpr std::int64_t kLastUsage = 0xFFFF;

}  // namespace

void KeyRemap::remapCapsLock(HidRemap& hidRemap, std::uint32_t destinationUsage)
{
    LOGGING_INFO("Remap caps lock to " + std::to_string(destinationUsage));
    hidRemap.resetMapping(PhysicalKey::kCapsLock);
    hidRemap.addMapping(PhysicalKey::kCapsLock, destinationUsage);
    hidRemap.keyboardListener().listen();
}

void KeyRemap::applyKeyMapping(HidRemap& hidRemap, Defaults& defaults)
{
    hidRemap.resetAll();
    remapPhysicalKey(hidRemap, defaults);
    const bool capsLockIsHyper =
        defaults.keyRemap().isOn() && defaults.physicalKeycode().value() == PhysicalKey::kCapsLock;
    if (capsLockIsHyper && !defaults.hyperAsCapsLockDisables().isOff()) {
        // Caps lock, being the hyper key, becomes left Command and no longer toggles its lock.
        remapCapsLock(hidRemap, kLeftCommand);
        return;
    }
    if (defaults.capsLockRemapped().isOn()) {
        remapCapsLockFromSettings(hidRemap, defaults);
    }
}

void KeyRemap::remapPhysicalKey(HidRemap& hidRemap, Defaults& defaults)
{
    const std::int64_t key = defaults.physicalKeycode().value();
    if (!defaults.keyRemap().isOn() || !PhysicalKey::isNonModifier(key)) {
        return;
    }
    // A non-modifier hyper key must not type anything of its own.
    const auto usage = static_cast<std::uint32_t>(key);
    hidRemap.resetMapping(usage);
    hidRemap.addMapping(usage, kLeftCommand);
    hidRemap.keyboardListener().listen();
}

void KeyRemap::remapCapsLockFromSettings(HidRemap& hidRemap, Defaults& defaults)
{
    const std::int64_t destination = defaults.capsLockKeycode().value();
    if (destination == kNoKeyChoice) {
        remapCapsLock(hidRemap, 0);
    } else if (destination == 0) {
        return;
    } else if (destination < 0 || destination > kLastUsage) {
        LOGGING_WARNING("Caps lock is not remapped: " + std::to_string(destination) + " is no key");
    } else if (defaults.listenerRemap().isOn()) {
        // Silenced here; the hyper key listener sends the chosen key itself.
        remapCapsLock(hidRemap, 0);
    } else {
        remapCapsLock(hidRemap, static_cast<std::uint32_t>(destination));
    }
}

}  // namespace veltrane
