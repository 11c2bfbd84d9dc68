#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace logging {

// The application's information keys ("CFBundleExecutable", "CFBundleDisplayName", "CFBundleName",
// "CFBundleVersion", "CFBundleIdentifier"), as the build describes the application.
class BundleInfo {
public:
    // The string under the key, or nothing when the key is missing.
    static std::optional<std::string> string(std::string_view key);

    // For tests: give a key another value, or remove it with nullopt, until restoreForTesting().
    static void overrideForTesting(const std::string& key, std::optional<std::string> value);
    static void restoreForTesting();
};

}  // namespace logging
