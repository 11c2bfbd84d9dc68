#include "app/PreferenceActions.h"

#include "core/Notifications.h"
#include "keyboard/PhysicalKey.h"

#include <functional>
#include <map>

namespace veltrane {

void PreferenceActions::settingChanged(std::string_view key)
{
    using Action = std::function<void(PreferenceActions&)>;
    static const std::map<std::string_view, Action> actions = {
        {"hyperFlags",
         [](PreferenceActions& self) {
             const auto stored = self.shared_.defaults().hyperFlags().value();
             self.shared_.hyperFlags().setFlags(stored == 0 ? HyperFlags::kDefaultFlags
                                                            : static_cast<platform::EventFlags>(stored));
         }},
        {"keyRemap",
         [](PreferenceActions& self) {
             self.capsLockAvailability();
             self.updateListener();
             self.applyKeyMapping();
         }},
        {"physicalKeycode", [](PreferenceActions& self) { self.capsLockAvailability(); }},
        {"capsLockRemapped", &PreferenceActions::applyKeyMapping},
        {"capsLockKeycode", &PreferenceActions::applyKeyMapping},
        {"listenerRemap", &PreferenceActions::applyKeyMapping},
        {"hyperAsCapsLockDisables", &PreferenceActions::applyKeyMapping},
        {"executeQuickHyperKey",
         [](PreferenceActions& self) {
             self.updateListener();
             self.applyKeyMapping();
         }},
        {"winRemap", &PreferenceActions::updateListener},
        {"applyToClick", &PreferenceActions::updateEventMask},
        {"applyToDrag", &PreferenceActions::updateEventMask},
        {"applyToMove", &PreferenceActions::updateEventMask},
        {"applyToScroll", &PreferenceActions::updateEventMask},
        {"oneSwipeFromTop", &PreferenceActions::trackpadChanged},
        {"launchOnLogin",
         [](PreferenceActions& self) {
             self.loginItem_.setLaunchOnLogin(self.shared_.defaults().launchOnLogin().enabled());
         }},
        {"hideMenuBarIcon", [](PreferenceActions& self) { self.shared_.statusItem().refresh(); }},
        {"disabledApps", &PreferenceActions::applicationListsChanged},
        {"enabledApps", &PreferenceActions::applicationListsChanged},
        {"whitelist", &PreferenceActions::applicationListsChanged},
    };
    if (const auto found = actions.find(key); found != actions.end()) {
        found->second(*this);
    }
}

bool PreferenceActions::capsLockAvailability()
{
    const bool available = capsLockRemapAvailable();
    if (!available) {
        shared_.defaults().capsLockRemapped().setEnabled(false);
    }
    applyKeyMapping();
    return available;
}

bool PreferenceActions::capsLockRemapAvailable() const
{
    auto& defaults = shared_.defaults();
    const auto physical = defaults.physicalKeycode().value();
    return !(defaults.keyRemap().isOn() &&
             (physical == PhysicalKey::kCapsLock || !PhysicalKey::kind(physical)));
}

void PreferenceActions::applyKeyMapping()
{
    shared_.applyKeyMapping();
}

void PreferenceActions::updateEventMask()
{
    platform_.notificationCenter.post(Notifications::kUpdateEventMask);
}

void PreferenceActions::trackpadChanged()
{
    auto& defaults = shared_.defaults();
    if (!defaults.usePrivateFramework().enabled()) {
        updateEventMask();
    } else if (defaults.oneSwipeFromTop().isOn()) {
        platform_.notificationCenter.post(Notifications::kStartDeviceListener);
    }
}

void PreferenceActions::applicationListsChanged()
{
    if (auto* toggle = shared_.applicationToggle()) {
        toggle->reloadLists();
    }
}

}  // namespace veltrane
