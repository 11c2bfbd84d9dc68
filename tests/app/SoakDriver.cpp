#include "SoakDriver.h"

#include "MenuActionNames.h"
#include "app/PreferenceActions.h"

#include <map>

namespace veltrane::testing {

namespace {

// As many as a desk has: more would only slow the soak down.
constexpr std::size_t kMostKeyboards = 4;

}  // namespace

SoakDriver::SoakDriver(sim::Desktop& desktop, Shared shared, Wait wait)
    : desktop_(desktop), shared_(std::move(shared)), wait_(std::move(wait))
{
}

void SoakDriver::prepare()
{
    auto& defaults = desktop_.defaults();
    for (const char* on : {"keyRemap", "executeQuickHyperKey", "winRemap", "keyMenuBarIcon",
                           "restartKeyListenOnWake", "logDebug"}) {
        defaults[on] = std::int64_t{1};
    }
    // A relaunch would start another process, which the soaks do not follow.
    defaults["autoRestartOnSessionActive"] = std::int64_t{2};
    defaults["quickHyperKeycode"] = std::int64_t{53};
    defaults["disabledApps"] = std::string("[\"com.apple.Terminal\"]");
    plug();
}

void SoakDriver::play(const SoakStep& step)
{
    using Kind = SoakStep::Kind;
    const auto pick = [&](const auto& list) { return list[step.choice % list.size()]; };
    const auto keyboard = [&] { return keyboards_[step.keyboard % keyboards_.size()]; };
    switch (step.kind) {
    case Kind::key:
        return keyboards_.empty() ? void() : key(keyboard(), pick(SoakStep::kKeys));
    case Kind::wait:
        return wait_(pick(SoakStep::kWaits));
    case Kind::click:
        for (const auto type : {platform::EventType::leftMouseDown, platform::EventType::leftMouseUp}) {
            desktop_.windowServer().eventFromDevice({type, 0, 0, 0, {10, 20}});
        }
        ++clicks_;
        return;
    case Kind::front:
        return desktop_.activate({pick(SoakStep::kApplications), "Application"});
    case Kind::menu:
        // Opened first, as a person does: an item's check mark, and so what it does, follows the settings.
        desktop_.process()->openMenu(std::nullopt);
        return desktop_.process()->chooseMenuItem(scenario::parseMenuAction(pick(SoakStep::kMenuActions)));
    case Kind::setting:
        return changeSetting(step);
    case Kind::plug:
        return keyboards_.size() < kMostKeyboards ? plug() : void();
    case Kind::unplug:
        return keyboards_.empty() ? void() : unplug(keyboard());
    case Kind::sleep:
        return desktop_.notifyWorkspace(platform::WorkspaceNotification::willSleep);
    case Kind::wake:
        return desktop_.notifyWorkspace(platform::WorkspaceNotification::didWake);
    case Kind::sessionActive:
        return desktop_.notifyWorkspace(platform::WorkspaceNotification::sessionDidBecomeActive);
    }
}

void SoakDriver::releaseAll()
{
    for (auto& [keyboard, held] : held_) {
        for (const auto& name : held) {
            desktop_.hid().key(keyboard, std::string_view(name), false);
        }
        held.clear();
    }
}

void SoakDriver::key(const std::string& keyboard, const std::string& name)
{
    auto& held = held_[keyboard];
    const bool down = held.insert(name).second;
    if (!down) {
        held.erase(name);
    }
    desktop_.hid().key(keyboard, std::string_view(name), down);
}

// As the preferences window changes a setting: the new value is stored, then the engine follows
// it, on the main queue.
void SoakDriver::changeSetting(const SoakStep& step)
{
    using Switch = OptionalBoolDefault& (Defaults::*)();
    static const std::map<std::string_view, Switch> switches = {
        {"keyRemap", &Defaults::keyRemap},
        {"executeQuickHyperKey", &Defaults::executeQuickHyperKey},
        {"capsLockRemapped", &Defaults::capsLockRemapped},
        {"listenerRemap", &Defaults::listenerRemap},
        {"applyToClick", &Defaults::applyToClick}};
    const auto& [key, value] = SoakStep::kSettings[step.choice % SoakStep::kSettings.size()];
    sim::SimProcess& process = *desktop_.process();
    process.mainQueue().async([this, &process, key = std::string_view(key), value = value] {
        Defaults& defaults = shared_().defaults();
        if (const auto found = switches.find(key); found != switches.end()) {
            (defaults.*found->second)().setEnabled(value == 1);
        } else {
            (key == "physicalKeycode" ? defaults.physicalKeycode() : defaults.capsLockKeycode())
                .setValue(value);
        }
        PreferenceActions(process.platform(), shared_()).settingChanged(key);
    });
}

// Other makers' keyboards, so that the swap of Command and Option applies to them.
void SoakDriver::plug()
{
    const std::string keyboard = "kb" + std::to_string(plugged_++);
    desktop_.hid().connect(keyboard, {{std::string(platform::kHidVendorId), std::int64_t{0x46D}},
                                      {std::string(platform::kHidProductId), std::int64_t{0xC31C}},
                                      {std::string(platform::kHidLocationId), std::uint64_t(plugged_)}});
    keyboards_.push_back(keyboard);
    pluggedAt_[keyboard] = desktop_.scheduler().nowSeconds();
}

void SoakDriver::unplug(const std::string& keyboard)
{
    held_.erase(keyboard);
    pluggedAt_.erase(keyboard);
    std::erase(keyboards_, keyboard);
    desktop_.hid().unplug(keyboard);
}

}  // namespace veltrane::testing
