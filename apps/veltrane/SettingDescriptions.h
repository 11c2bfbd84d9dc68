#pragma once

#include "platform/linux/settings/SettingHelp.h"

#include <optional>
#include <string_view>

namespace veltrane {

// What each setting means to a person, in the words of a Linux desktop: the one source of the help of
// "veltrane config describe", the manual page and the completions.
class SettingDescriptions {
public:
    // The help of a setting, given what a number reads as while it is not set (its declared default),
    // or nothing for a key without a description.
    static std::optional<linuxbackend::SettingHelp> of(std::string_view key, std::string_view declared);
};

}  // namespace veltrane
