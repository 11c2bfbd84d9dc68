#include "platform/DefaultsValue.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace veltrane::platform {

namespace {

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

std::int64_t saturatedInteger(double number)
{
    if (std::isnan(number)) {
        return 0;
    }
    constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto highest = std::numeric_limits<std::int64_t>::max();
    if (number <= static_cast<double>(lowest)) {
        return lowest;
    }
    if (number >= static_cast<double>(highest)) {
        return highest;
    }
    return static_cast<std::int64_t>(number);
}

// A text's leading number, as a property-list store reads "12abc" as 12 and "abc" as 0.
double leadingNumber(const std::string& text)
{
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? 0.0 : number;
}

bool textIsTrue(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\n");
    if (first == std::string::npos) {
        return false;
    }
    const char c = text[first];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

}  // namespace

bool readBool(const DefaultsValue& value)
{
    return std::visit(Overloaded{[](bool b) { return b; }, [](std::int64_t i) { return i != 0; },
                                 [](double d) { return d != 0.0; },
                                 [](const std::string& s) { return textIsTrue(s); }},
                      value);
}

std::int64_t readInteger(const DefaultsValue& value)
{
    return std::visit(Overloaded{[](bool b) -> std::int64_t { return b ? 1 : 0; },
                                 [](std::int64_t i) { return i; },
                                 [](double d) { return saturatedInteger(d); },
                                 [](const std::string& s) { return saturatedInteger(leadingNumber(s)); }},
                      value);
}

float readFloat(const DefaultsValue& value)
{
    return std::visit(Overloaded{[](bool b) { return b ? 1.0f : 0.0f; },
                                 [](std::int64_t i) { return static_cast<float>(i); },
                                 [](double d) { return static_cast<float>(d); },
                                 [](const std::string& s) { return static_cast<float>(leadingNumber(s)); }},
                      value);
}

std::optional<std::string> readString(const DefaultsValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    return std::nullopt;
}

}  // namespace veltrane::platform
