#pragma once

#include "platform/linux/settings/SettingHelp.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::linuxbackend {

// The value of a setting that holds a key, as a person reads and writes it: the key's name ("escape",
// "capslock", "f13", "ralt", "lsuper"), "none" for no key, or the number itself, which older files and
// scripts use. The modifiers are named as Linux names them; the key table's own names are read too.
class SettingKeyName {
public:
    // The value the text stands for, or nothing when it names no key this setting can hold.
    static std::optional<std::int64_t> read(const SettingHelp& help, std::string_view text);
    // The key's name, or the number where no key has it.
    static std::string shown(const SettingHelp& help, std::int64_t value);
    // Every name the setting takes, for completions.
    static std::vector<std::string> names(const SettingHelp& help);
};

}  // namespace veltrane::linuxbackend
