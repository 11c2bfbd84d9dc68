#include "platform/linux/system/LinuxBundle.h"

namespace veltrane::linuxbackend {

namespace {

constexpr const char* kIdentifierKey = "CFBundleIdentifier";

}  // namespace

LinuxBundle::LinuxBundle(const Info& info)
    : path_(info.path), infoStrings_{
                            {kIdentifierKey, info.identifier},
                            {"CFBundleName", info.name},
                            {"CFBundleDisplayName", info.name},
                            {"CFBundleShortVersionString", info.shortVersion},
                            {"CFBundleVersion", info.buildNumber},
                            {"NSHumanReadableCopyright", info.copyright},
                        }
{
}

std::optional<std::string> LinuxBundle::bundleIdentifier() const
{
    return infoString(kIdentifierKey);
}

std::optional<std::string> LinuxBundle::infoString(const std::string& key) const
{
    const auto found = infoStrings_.find(key);
    return found == infoStrings_.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::string LinuxBundle::localizedString(const std::string&, const std::string&,
                                         const std::string& defaultValue) const
{
    return defaultValue;
}

}  // namespace veltrane::linuxbackend
