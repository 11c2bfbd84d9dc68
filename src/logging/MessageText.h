#pragma once

#include "logging/LogMessage.h"

#include <array>
#include <charconv>
#include <concepts>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace logging {

// The ordinary text description of a logged value: strings as they are, numbers in decimal,
// anything else through its stream output operator. The value lives until the log call returns:
// texts it refers to are borrowed, a string handed over is kept.
class MessageText {
public:
    template <typename Value> static LogMessage describe(Value&& value)
    {
        using Plain = std::remove_cvref_t<Value>;
        if constexpr (std::is_same_v<Plain, std::string> && !std::is_lvalue_reference_v<Value>) {
            return LogMessage::owned(std::move(value));
        } else if constexpr (std::is_convertible_v<const Value&, std::string_view>) {
            return LogMessage::borrowed(std::string_view(value));
        } else if constexpr (std::is_same_v<Plain, bool>) {
            return LogMessage::borrowed(value ? "true" : "false");
        } else if constexpr (std::is_same_v<Plain, char>) {
            return LogMessage::owned(std::string(1, value));
        } else if constexpr (std::is_arithmetic_v<Plain>) {
            return LogMessage::owned(shortestDecimal(value));
        } else {
            std::ostringstream stream;
            stream << value;
            return LogMessage::owned(std::move(stream).str());
        }
    }

private:
    // Integers exactly; floating-point numbers in the shortest form that reads back the same.
    template <typename Number> static std::string shortestDecimal(Number number)
    {
        std::array<char, 64> digits{};
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), number);
        return std::string(digits.data(), result.ptr);
    }
};

}  // namespace logging
