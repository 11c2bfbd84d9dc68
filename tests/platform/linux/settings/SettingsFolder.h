#pragma once

#include "TemporaryFolder.h"
#include "platform/linux/settings/SettingsFile.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// A settings file in a temporary folder of its own, removed with it, and opened with the schema of a few
// of the program's settings, one of each kind, one of them a key.
class SettingsFolder {
public:
    static SettingsSchema schema()
    {
        return SettingsSchema(
            {{"lastVersion", SettingKind::text},
             {"launchOnLogin", SettingKind::boolean, help("", "false")},
             {"keyRemap", SettingKind::optionalBoolean, help("", "true")},
             {"physicalKeycode", SettingKind::integer, {"the hyper key", "", "57", KeyVocabulary::usage, -1}},
             {"quickPressTimeout", SettingKind::floating, help("seconds", "1.0")},
             {"disabledApps", SettingKind::textList, help("", "[]")}});
    }

    static SettingHelp help(std::string unit, std::string absent)
    {
        return {"", std::move(unit), std::move(absent), KeyVocabulary::none, std::nullopt};
    }

    const std::filesystem::path& folder() const { return folder_.path(); }
    std::filesystem::path file() const { return folder_ / "settings.json"; }
    void write(const std::string& text) const { testsupport::TemporaryFolder::write(file(), text); }
    std::string read() const { return testsupport::TemporaryFolder::read(file()); }

    // What the files opened report is added to reports.
    std::unique_ptr<SettingsFile> open()
    {
        return std::make_unique<SettingsFile>(
            file(), schema(), [this](const std::string& report) { reports.push_back(report); });
    }

    std::vector<std::string> reports;

private:
    testsupport::TemporaryFolder folder_;
};

}  // namespace veltrane::linuxbackend
