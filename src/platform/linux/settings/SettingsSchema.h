#pragma once

#include "platform/linux/settings/SettingKind.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::linuxbackend {

// The settings a program knows, in the order it lists them: the settings file writes them in that order
// and checks their types.
class SettingsSchema {
public:
    struct Setting {
        std::string key;
        SettingKind kind = SettingKind::boolean;
    };

    explicit SettingsSchema(std::vector<Setting> settings = {});

    const std::vector<Setting>& settings() const { return settings_; }
    // The kind of a known setting, or nothing for a key the program does not know.
    std::optional<SettingKind> kindOf(std::string_view key) const;

private:
    std::vector<Setting> settings_;
    std::map<std::string, SettingKind, std::less<>> kinds_;
};

}  // namespace veltrane::linuxbackend
