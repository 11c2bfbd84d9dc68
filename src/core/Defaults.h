#pragma once

#include "core/BoolDefault.h"
#include "core/FloatDefault.h"
#include "core/IntDefault.h"
#include "core/Lazy.h"
#include "core/OptionalBoolDefault.h"
#include "core/StringDefault.h"
#include "platform/UserDefaults.h"

namespace veltrane {

// Every persistent setting, in one place: its key (the accessor's name), its class and, for
// numbers, the default that a stored or absent 0 turns into. Each setting object is created on
// first use and reads the store once then; afterwards it is read in memory and written through.
// What unset means for an optional bool is the reader's business (isOn / isOff); the comment
// gives the meaning every reader applies.
#define VELTRANE_SETTINGS(X)                                                                                 \
    X(StringDefault, lastVersion)                                                                            \
    X(BoolDefault, usePrivateFramework)                                                                      \
    X(BoolDefault, disableThumbRejection)                                                                    \
    X(BoolDefault, disablePalmRejection)                                                                     \
    X(BoolDefault, launchOnLogin)                                                                            \
    X(FloatDefault, filterLightTouches)                                                                      \
    X(FloatDefault, filterLargeTouches)                                                                      \
    X(StringDefault, disabledApps)                                                                           \
    X(StringDefault, enabledApps)                                                                            \
    X(BoolDefault, hideMenuBarIcon)                                                                          \
    X(OptionalBoolDefault, whitelist) /* unset: off */                                                       \
    X(FloatDefault, restartOnWakeDelay)                                                                      \
    X(OptionalBoolDefault, autoRestartOnWake)          /* unset: off */                                      \
    X(OptionalBoolDefault, autoRestartOnSessionActive) /* unset: on */                                       \
    X(OptionalBoolDefault, restartKeyListenOnWake)     /* unset: off */                                      \
    X(OptionalBoolDefault, helperRelaunch)             /* unset: on */                                       \
    X(BoolDefault, launchViewerOnStart)                                                                      \
    X(BoolDefault, launchLoggerOnStart)                                                                      \
    X(BoolDefault, relaunchOpensMenu)                                                                        \
    X(IntDefault, touchListenerDelay)                                                                        \
    X(FloatDefault, oneCenterClickMinX)                                                                      \
    X(FloatDefault, oneCenterClickMaxX)                                                                      \
    X(IntDefault, hyperFlags)                                                                                \
    X(OptionalBoolDefault, keyRemap) /* unset: off */                                                        \
    X(IntDefault, physicalKeycode, 57)                                                                       \
    X(OptionalBoolDefault, executeQuickHyperKey)        /* unset: off */                                     \
    X(OptionalBoolDefault, longPressCapsLockTurnsItOff) /* unset: off */                                     \
    X(IntDefault, quickHyperKeycode)                                                                         \
    X(FloatDefault, quickPressTimeout, 1.0f)                                                                 \
    X(OptionalBoolDefault, capsLockRemapped) /* unset: off */                                                \
    X(IntDefault, capsLockKeycode, 41)                                                                       \
    X(OptionalBoolDefault, listenerRemap)                 /* unset: off */                                   \
    X(OptionalBoolDefault, hyperAsCapsLockDisables)       /* unset: on */                                    \
    X(OptionalBoolDefault, hyperAsCapsLockManualKeypress) /* unset: off */                                   \
    X(IntDefault, keyboardConnectionDelay, 1)                                                                \
    X(IntDefault, wakeKeyboardDelay)                                                                         \
    X(OptionalBoolDefault, oneSwipeFromTop) /* unset: off */                                                 \
    X(IntDefault, gestures, 2)                                                                               \
    X(FloatDefault, oneTopTriggerThreshold, 12.0f)                                                           \
    X(FloatDefault, oneTopCursorFreezeThreshold, 30.0f)                                                      \
    X(FloatDefault, cornerMaxXYDiff, 35.0f)                                                                  \
    X(FloatDefault, cornerTriggerThreshold, 80.0f)                                                           \
    X(FloatDefault, cornerFreezeThreshold, 85.0f)                                                            \
    X(FloatDefault, cornerStartMin, 40.0f)                                                                   \
    X(FloatDefault, cornerStartMax, 60.0f)                                                                   \
    X(OptionalBoolDefault, hapticFeedback)    /* unset: off */                                               \
    X(OptionalBoolDefault, changeMenuBarIcon) /* unset: off */                                               \
    X(OptionalBoolDefault, keyMenuBarIcon)    /* unset: off */                                               \
    X(OptionalBoolDefault, applyToClick)      /* unset: on */                                                \
    X(OptionalBoolDefault, applyToDrag)       /* unset: off */                                               \
    X(OptionalBoolDefault, applyToMove)       /* unset: off */                                               \
    X(OptionalBoolDefault, applyToScroll)     /* unset: off */                                               \
    X(IntDefault, matchingEvents)                                                                            \
    X(OptionalBoolDefault, winRemap)  /* unset: off */                                                       \
    X(OptionalBoolDefault, logDebug)  /* unset: off */                                                       \
    X(OptionalBoolDefault, logToFile) /* unset: off */

class Defaults {
public:
    explicit Defaults(platform::UserDefaults& store) : store_(store) {}
    Defaults(const Defaults&) = delete;
    Defaults& operator=(const Defaults&) = delete;

#define VELTRANE_SETTING_ACCESSOR(Class, name, ...)                                                          \
    Class& name()                                                                                            \
    {                                                                                                        \
        return name##_.get(store_, #name __VA_OPT__(, ) __VA_ARGS__);                                        \
    }
    VELTRANE_SETTINGS(VELTRANE_SETTING_ACCESSOR)
#undef VELTRANE_SETTING_ACCESSOR

private:
    platform::UserDefaults& store_;
#define VELTRANE_SETTING_MEMBER(Class, name, ...) Lazy<Class> name##_;
    VELTRANE_SETTINGS(VELTRANE_SETTING_MEMBER)
#undef VELTRANE_SETTING_MEMBER
};

}  // namespace veltrane
