#pragma once

#include "app/PreferenceActions.h"
#include "core/Defaults.h"
#include "platform/linux/settings/SettingsFile.h"
#include "platform/linux/settings/SettingsSchema.h"

#include <string>
#include <vector>

namespace veltrane {

// The settings of the application as the settings file knows them, and what happens when the file
// changes under the running program: each changed setting takes its new value, and the engine
// follows it as it would follow the preferences window.
class SettingsReload {
public:
    static linuxbackend::SettingsSchema schema();

    SettingsReload(Defaults& defaults, linuxbackend::SettingsFile& store, PreferenceActions& actions)
        : defaults_(defaults), store_(store), actions_(actions)
    {
    }

    // On the main queue, with the keys whose stored values changed.
    void apply(const std::vector<std::string>& changedKeys);

private:
    // False for a key no setting has.
    bool reload(const std::string& key);

    Defaults& defaults_;
    linuxbackend::SettingsFile& store_;
    PreferenceActions& actions_;
};

}  // namespace veltrane
