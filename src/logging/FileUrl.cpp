#include "logging/FileUrl.h"

#include <array>
#include <string_view>

namespace logging {

namespace {

// Unreserved characters, sub-delimiters, ":", "@" and the path separator stay as they are.
bool staysAsIs(unsigned char c)
{
    constexpr std::string_view allowed = "-._~!$&'()*+,;=:@/";
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           allowed.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string FileUrl::text(const std::filesystem::path& path)
{
    constexpr std::array<char, 16> hex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                          '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    std::string url = "file://";
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    for (const char c : (error ? path : absolute).string()) {
        const auto byte = static_cast<unsigned char>(c);
        if (staysAsIs(byte)) {
            url += c;
        } else {
            url += '%';
            url += hex[byte >> 4];
            url += hex[byte & 0xF];
        }
    }
    return url;
}

}  // namespace logging
