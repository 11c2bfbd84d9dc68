#include "SettingsFolder.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace veltrane::linuxbackend {

SettingsFolder::SettingsFolder()
{
    auto pattern = (std::filesystem::temp_directory_path() / "veltrane-settings-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder";
    }
    folder_ = pattern;
}

SettingsFolder::~SettingsFolder()
{
    std::filesystem::remove_all(folder_);
}

SettingsSchema SettingsFolder::schema()
{
    return SettingsSchema({{"lastVersion", SettingKind::text},
                           {"launchOnLogin", SettingKind::boolean},
                           {"keyRemap", SettingKind::optionalBoolean},
                           {"physicalKeycode", SettingKind::integer},
                           {"quickPressTimeout", SettingKind::floating},
                           {"disabledApps", SettingKind::textList}});
}

void SettingsFolder::write(const std::string& text) const
{
    std::ofstream(file(), std::ios::binary) << text;
}

std::string SettingsFolder::read() const
{
    std::ostringstream text;
    text << std::ifstream(file(), std::ios::binary).rdbuf();
    return text.str();
}

std::unique_ptr<SettingsFile> SettingsFolder::open()
{
    return std::make_unique<SettingsFile>(file(), schema(),
                                          [this](const std::string& report) { reports.push_back(report); });
}

}  // namespace veltrane::linuxbackend
