#pragma once

#include "platform/Bundle.h"

namespace veltrane::sim {

// The application's bundle as installed on the simulated desktop. Its version is fixed, so that
// transcripts do not change with the project's own version.
class SimBundle final : public platform::Bundle {
public:
    static constexpr const char* kPath = "/Applications/Veltrane.app";
    static constexpr const char* kIdentifier = "com.marrowind.Veltrane";

    std::string bundlePath() const override { return kPath; }
    std::optional<std::string> bundleIdentifier() const override { return kIdentifier; }
    std::optional<std::string> infoString(const std::string& key) const override;
    std::string localizedString(const std::string& key, const std::string& table,
                                const std::string& defaultValue) const override;
};

}  // namespace veltrane::sim
