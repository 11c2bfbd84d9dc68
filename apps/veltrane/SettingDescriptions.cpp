#include "SettingDescriptions.h"

#include <algorithm>
#include <array>
#include <string>

namespace veltrane {

namespace {

using linuxbackend::KeyVocabulary;

struct Description {
    std::string_view key;
    std::string_view meaning;
    std::string_view unit = {};
    // What is in force while it is not set, where the declared default does not say it: the optional
    // switches that readers take as on, and the lists.
    std::string_view absent = {};
    KeyVocabulary keys = KeyVocabulary::none;
    std::optional<std::int64_t> noKey = std::nullopt;
};

constexpr std::string_view kSeconds = "seconds";
constexpr std::string_view kPadUnits = "touchpad units (about a millimetre)";

constexpr std::array kDescriptions = {
    Description{"lastVersion", "the version that ran last; not set before the first start"},
    Description{"usePrivateFramework", "read touches from the touchpads themselves rather than from the "
                                       "desktop's gesture events"},
    Description{"disableThumbRejection", "turn off the filter that ignores a resting thumb"},
    Description{"disablePalmRejection", "turn off the filter that ignores a resting palm"},
    Description{"launchOnLogin", "start Veltrane when you log in"},
    Description{"filterLightTouches", "touches lighter than this are ignored; 0 uses the built-in threshold"},
    Description{"filterLargeTouches", "touches larger than this are ignored; 0 uses the built-in limit"},
    Description{"disabledApps", "applications in which Veltrane stands aside, by the names veltrane status shows",
                {}, "[]"},
    Description{"enabledApps", "with whitelist on, the only applications in which Veltrane works", {}, "[]"},
    Description{"hideMenuBarIcon", "hide the tray item"},
    Description{"whitelist", "on: Veltrane works only in enabledApps; off: everywhere but disabledApps"},
    Description{"restartOnWakeDelay", "how long Veltrane waits after the machine wakes before it restarts",
                kSeconds},
    Description{"autoRestartOnWake", "restart Veltrane after the machine wakes from sleep"},
    Description{"autoRestartOnSessionActive", "restart Veltrane when its session becomes active again", {},
                "true"},
    Description{"restartKeyListenOnWake", "restart the keyboard listener after the machine wakes"},
    Description{"helperRelaunch", "restart through the launcher helper rather than a shell command", {}, "true"},
    Description{"launchViewerOnStart", "open the touch viewer at start"},
    Description{"launchLoggerOnStart", "open the log window at start"},
    Description{"relaunchOpensMenu", "starting veltrane while it runs opens the tray menu, not the preferences"},
    Description{"touchListenerDelay", "how long Veltrane waits at start before it listens to the touchpads",
                kSeconds},
    Description{"oneCenterClickMinX", "kept for settings files that have it; nothing uses it"},
    Description{"oneCenterClickMaxX", "kept for settings files that have it; nothing uses it"},
    Description{"hyperFlags", "the modifiers of the hyper chord as event flags; 0 is Ctrl+Alt+Super+Shift"},
    Description{"keyRemap", "the key that physicalKeycode names becomes the hyper key"},
    Description{"physicalKeycode", "the key that becomes the hyper key", {}, {}, KeyVocabulary::usage},
    Description{"executeQuickHyperKey", "a quick press of the hyper key alone sends quickHyperKeycode"},
    Description{"longPressCapsLockTurnsItOff", "a long press of caps lock turns caps lock off"},
    Description{"quickHyperKeycode", "the key a quick press of the hyper key sends", {}, {},
                KeyVocabulary::keyCode, 0},
    Description{"quickPressTimeout", "a press of the hyper key shorter than this is a quick press", kSeconds},
    Description{"capsLockRemapped", "caps lock becomes the key that capsLockKeycode names"},
    Description{"capsLockKeycode", "what caps lock becomes; none silences it", {}, {}, KeyVocabulary::usage, -1},
    Description{"listenerRemap", "remap caps lock by typing the key through the virtual keyboard rather than "
                                 "in the keyboard's key mapping"},
    Description{"hyperAsCapsLockDisables",
                "with caps lock as the hyper key, the keyboard maps caps lock to Super, so that it never locks",
                {}, "true"},
    Description{"hyperAsCapsLockManualKeypress",
                "with caps lock as the hyper key, Veltrane presses and releases Super itself"},
    Description{"keyboardConnectionDelay", "how long Veltrane waits after a keyboard appears before it maps it",
                kSeconds},
    Description{"wakeKeyboardDelay", "how long Veltrane waits for the keyboards after the machine wakes; "
                                     "negative: it does not", kSeconds},
    Description{"oneSwipeFromTop", "a one-finger slide on a touchpad, as gestures chooses, holds the hyper key"},
    Description{"gestures", "the slide: 1 from the top-left corner, 2 the top-right corner, 4 the bottom-left "
                            "corner, 8 the bottom-right corner, 16 down from the top edge"},
    Description{"oneTopTriggerThreshold", "how far below the top edge a slide down holds the hyper key",
                kPadUnits},
    Description{"oneTopCursorFreezeThreshold", "how far below the top edge a slide down lets the pointer go",
                kPadUnits},
    Description{"cornerMaxXYDiff", "how far a slide from a corner may stray from the diagonal", kPadUnits},
    Description{"cornerTriggerThreshold", "how far a slide from a corner goes before it holds the hyper key",
                kPadUnits},
    Description{"cornerFreezeThreshold", "how far a slide from a corner goes before it lets the pointer go",
                kPadUnits},
    Description{"cornerStartMin", "how near the edge a slide from a corner starts", kPadUnits},
    Description{"cornerStartMax", "how near the corner a slide from a corner starts", kPadUnits},
    Description{"hapticFeedback", "the touchpad clicks when a slide holds the hyper key, where it can"},
    Description{"changeMenuBarIcon", "the tray item changes while a slide holds the hyper key"},
    Description{"keyMenuBarIcon", "the tray item changes while the hyper key is held"},
    Description{"applyToClick", "clicks carry the hyper modifiers", {}, "true"},
    Description{"applyToDrag", "drags carry the hyper modifiers"},
    Description{"applyToMove", "pointer moves carry the hyper modifiers"},
    Description{"applyToScroll", "scrolls carry the hyper modifiers"},
    Description{"matchingEvents", "more kinds of event for the hyper modifiers, as a bit mask of event types"},
    Description{"winRemap", "Alt and Super swap places on keyboards not made by Apple"},
    Description{"logDebug", "the log tells more, for finding a problem"},
    Description{"logToFile", "the log is also written to a file"},
};

}  // namespace

std::optional<linuxbackend::SettingHelp> SettingDescriptions::of(std::string_view key, std::string_view declared)
{
    const auto* found =
        std::ranges::find(kDescriptions, key, [](const Description& description) { return description.key; });
    if (found == kDescriptions.end()) {
        return std::nullopt;
    }
    return linuxbackend::SettingHelp{.meaning = std::string(found->meaning),
                                     .unit = std::string(found->unit),
                                     .absent = std::string(found->absent.empty() ? declared : found->absent),
                                     .keys = found->keys,
                                     .noKey = found->noKey};
}

}  // namespace veltrane
