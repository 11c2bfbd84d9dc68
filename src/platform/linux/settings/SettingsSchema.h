#pragma once

#include "platform/linux/settings/SettingHelp.h"
#include "platform/linux/settings/SettingKind.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrane::linuxbackend {

// The settings a program knows, in the order it lists them: the settings file writes them in that order
// and checks their types.
class SettingsSchema {
public:
    struct Setting {
        Setting(std::string name, SettingKind type, SettingHelp meaning = {})
            : key(std::move(name)), kind(type), help(std::move(meaning))
        {
        }

        std::string key;
        SettingKind kind;
        SettingHelp help;
    };

    explicit SettingsSchema(std::vector<Setting> settings = {});

    const std::vector<Setting>& settings() const { return settings_; }
    // The kind of a known setting, or nothing for a key the program does not know.
    std::optional<SettingKind> kindOf(std::string_view key) const;
    // A known setting, or nothing.
    const Setting* find(std::string_view key) const;

private:
    std::vector<Setting> settings_;
    std::map<std::string, std::size_t, std::less<>> indexes_;
};

}  // namespace veltrane::linuxbackend
