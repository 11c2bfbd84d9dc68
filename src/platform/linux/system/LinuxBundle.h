#pragma once

#include "platform/Bundle.h"

#include <functional>
#include <map>

namespace veltrane::linuxbackend {

// The program's own description. A Linux program has no bundle on disk: the program passes the
// values it was built with, and the folder of its executable stands for the bundle's.
class LinuxBundle final : public platform::Bundle {
public:
    struct Info {
        std::string identifier;
        std::string name;
        std::string shortVersion;
        std::string buildNumber;
        std::string path;
        std::string copyright;
    };

    explicit LinuxBundle(const Info& info);

    std::string bundlePath() const override { return path_; }
    std::optional<std::string> bundleIdentifier() const override;
    std::optional<std::string> infoString(const std::string& key) const override;
    // The program ships no translations: every text is its default.
    std::string localizedString(const std::string& key, const std::string& table,
                                const std::string& defaultValue) const override;

private:
    std::string path_;
    std::map<std::string, std::string, std::less<>> infoStrings_;
};

}  // namespace veltrane::linuxbackend
