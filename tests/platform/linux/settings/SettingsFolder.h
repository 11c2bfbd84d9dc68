#pragma once

#include "platform/linux/settings/SettingsFile.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// A settings file in a temporary folder of its own, removed with it, and opened with the schema of a few
// of the program's settings, one of each kind.
class SettingsFolder {
public:
    SettingsFolder();
    ~SettingsFolder();
    SettingsFolder(const SettingsFolder&) = delete;
    SettingsFolder& operator=(const SettingsFolder&) = delete;

    static SettingsSchema schema();

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path file() const { return folder_ / "settings.json"; }
    void write(const std::string& text) const;
    std::string read() const;

    // What the files opened report is added to reports.
    std::unique_ptr<SettingsFile> open();

    std::vector<std::string> reports;

private:
    std::filesystem::path folder_;
};

}  // namespace veltrane::linuxbackend
