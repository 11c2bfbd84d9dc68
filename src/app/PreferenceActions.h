#pragma once

#include "app/LoginItem.h"
#include "app/SharedInstances.h"
#include "platform/Platform.h"

#include <string_view>

namespace veltrane {

// What the engine re-applies after a setting has changed, whoever changed it: the preferences
// window after its write, or the settings file edited while the application runs.
class PreferenceActions {
public:
    PreferenceActions(const platform::Platform& platform, SharedInstances& shared)
        : platform_(platform), shared_(shared), loginItem_(platform)
    {
    }

    // The setting of that key holds its new value; the engine follows it.
    void settingChanged(std::string_view key);
    // With the hyper key on caps lock (or on no key the list knows), caps lock cannot also be
    // remapped: its remap is switched off. Applies the key mapping in any case. Returns whether
    // the caps lock remap stays available.
    bool capsLockAvailability();
    // Whether caps lock may be remapped as the settings stand, without changing anything.
    bool capsLockRemapAvailable() const;
    // Starts or stops the hyper key listener as the settings want it.
    void updateListener() { shared_.keyboardHID().refresh(false); }
    void applyKeyMapping();
    // The mouse options or the slide trigger changed.
    void updateEventMask();
    void trackpadChanged();
    // The lists of applications or their mode changed.
    void applicationListsChanged();

private:
    const platform::Platform& platform_;
    SharedInstances& shared_;
    LoginItem loginItem_;
};

}  // namespace veltrane
