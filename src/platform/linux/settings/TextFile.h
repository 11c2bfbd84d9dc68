#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane::linuxbackend {

// The file's text, or nothing when there is no such file. Throws std::system_error when it cannot be read.
std::optional<std::string> readTextFile(const std::filesystem::path& path);

// Replaces the file's text at once, creating its folder when missing: a reader, even after a crash, finds
// the old text or the new one, never a part of it. Throws std::system_error when it cannot be written,
// leaving the old text in place.
void replaceTextFile(const std::filesystem::path& path, std::string_view text);

}  // namespace veltrane::linuxbackend
