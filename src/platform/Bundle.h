#pragma once

#include <optional>
#include <string>

namespace veltrane::platform {

// The application's own bundle: where it lives, what it is called, its information keys and
// its localized texts.
class Bundle {
public:
    virtual ~Bundle() = default;

    // The bundle's folder, "/Applications/Veltrane.app".
    virtual std::string bundlePath() const = 0;
    virtual std::optional<std::string> bundleIdentifier() const = 0;
    // A text value of the information dictionary ("CFBundleVersion"); nothing when absent or no text.
    virtual std::optional<std::string> infoString(const std::string& key) const = 0;
    virtual std::string localizedString(const std::string& key, const std::string& table,
                                        const std::string& defaultValue) const = 0;
};

}  // namespace veltrane::platform
