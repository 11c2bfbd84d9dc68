#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace veltrane::linuxbackend {

// The number a whole text writes, or nothing when the text is not one number of that type, in range.
template <class Number> std::optional<Number> parsedNumber(std::string_view text)
{
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace veltrane::linuxbackend
