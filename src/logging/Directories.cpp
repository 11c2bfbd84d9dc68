#include "logging/Directories.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace logging {

namespace {

// Relative and empty settings are ignored, as the XDG base directories ask.
std::optional<std::filesystem::path> absolutePath(const char* text)
{
    if (text == nullptr || *text == '\0' || text[0] != '/') {
        return std::nullopt;
    }
    return std::filesystem::path(text);
}

std::optional<std::filesystem::path> home()
{
    if (auto path = absolutePath(std::getenv("HOME"))) {
        return path;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr ? absolutePath(user->pw_dir) : std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> Directories::caches()
{
    return fromEnvironment("XDG_CACHE_HOME", ".cache");
}

std::optional<std::filesystem::path> Directories::applicationSupport()
{
    return fromEnvironment("XDG_DATA_HOME", std::filesystem::path(".local") / "share");
}

std::optional<std::filesystem::path> Directories::fromEnvironment(const char* variable,
                                                                  const std::filesystem::path& underHome)
{
    if (auto path = absolutePath(std::getenv(variable))) {
        return path;
    }
    if (auto user = home()) {
        return *user / underHome;
    }
    return std::nullopt;
}

}  // namespace logging
