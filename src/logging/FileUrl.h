#pragma once

#include <filesystem>
#include <string>

namespace logging {

// The absolute text of a file location as a URL: "file://" and the percent-encoded absolute path.
class FileUrl {
public:
    static std::string text(const std::filesystem::path& path);
};

}  // namespace logging
