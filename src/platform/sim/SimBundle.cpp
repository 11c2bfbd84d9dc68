#include "platform/sim/SimBundle.h"

#include <map>

namespace veltrane::sim {

std::optional<std::string> SimBundle::infoString(const std::string& key) const
{
    static const std::map<std::string, std::string, std::less<>> info = {
        {"CFBundleShortVersionString", "1.0"},
        {"CFBundleVersion", "1"},
        {"CFBundleName", "Veltrane"},
        {"CFBundleDisplayName", "Veltrane"},
        {"NSHumanReadableCopyright", "Copyright © 2026 Marrow Industries. All rights reserved."},
    };
    const auto found = info.find(key);
    return found == info.end() ? std::nullopt : std::optional<std::string>(found->second);
}

// Only the development language exists, whose texts are the defaults.
std::string SimBundle::localizedString(const std::string&, const std::string&,
                                       const std::string& defaultValue) const
{
    return defaultValue;
}

}  // namespace veltrane::sim
