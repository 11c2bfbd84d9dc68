#pragma once

#include "platform/linux/settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// A settings file in a temporary folder of its own, removed with it, and opened with the schema of a few
// of the program's settings, one of each kind.
class SettingsFolder {
public:
    SettingsFolder()
    {
        auto pattern = (std::filesystem::temp_directory_path() / "veltrane-settings-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot create a temporary folder";
        }
        folder_ = pattern;
    }
    ~SettingsFolder() { std::filesystem::remove_all(folder_); }
    SettingsFolder(const SettingsFolder&) = delete;
    SettingsFolder& operator=(const SettingsFolder&) = delete;

    static SettingsSchema schema()
    {
        return SettingsSchema({{"lastVersion", SettingKind::text},
                               {"launchOnLogin", SettingKind::boolean},
                               {"keyRemap", SettingKind::optionalBoolean},
                               {"physicalKeycode", SettingKind::integer},
                               {"quickPressTimeout", SettingKind::floating},
                               {"disabledApps", SettingKind::textList}});
    }

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path file() const { return folder_ / "settings.json"; }
    void write(const std::string& text) const { std::ofstream(file(), std::ios::binary) << text; }
    std::string read() const
    {
        std::ostringstream text;
        text << std::ifstream(file(), std::ios::binary).rdbuf();
        return text.str();
    }

    // What the files opened report is added to reports.
    std::unique_ptr<SettingsFile> open()
    {
        return std::make_unique<SettingsFile>(
            file(), schema(), [this](const std::string& report) { reports.push_back(report); });
    }

    std::vector<std::string> reports;

private:
    std::filesystem::path folder_;
};

}  // namespace veltrane::linuxbackend
