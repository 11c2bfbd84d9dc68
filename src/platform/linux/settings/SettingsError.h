#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace veltrane::linuxbackend {

// A place in a text as an editor shows it: lines and columns count from 1, and a column counts
// characters, not the bytes that encode them.
struct TextPosition {
    std::size_t line = 1;
    std::size_t column = 1;
};

// What makes a settings text unusable, and where.
class SettingsError : public std::runtime_error {
public:
    SettingsError(TextPosition position, const std::string& what)
        : std::runtime_error(what), position_(position)
    {
    }

    TextPosition position() const { return position_; }

private:
    TextPosition position_;
};

}  // namespace veltrane::linuxbackend
