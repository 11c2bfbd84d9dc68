#pragma once

#include <filesystem>
#include <optional>

namespace logging {

// The user's folders, after the XDG base directories.
class Directories {
public:
    // $XDG_CACHE_HOME, else ~/.cache.
    static std::optional<std::filesystem::path> caches();
    // $XDG_DATA_HOME, else ~/.local/share.
    static std::optional<std::filesystem::path> applicationSupport();

private:
    static std::optional<std::filesystem::path> fromEnvironment(const char* variable,
                                                                const std::filesystem::path& underHome);
};

}  // namespace logging
