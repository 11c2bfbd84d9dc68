#include "platform/linux/settings/SettingValue.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace veltrane::linuxbackend {

namespace {

constexpr std::int64_t trueCode = 1;
constexpr std::int64_t falseCode = 2;

std::optional<platform::DefaultsValue> optionalBoolean(std::int64_t code)
{
    if (code == trueCode || code == falseCode) {
        return code;
    }
    return std::nullopt;
}

// A float as the double its shortest decimal form stands for, so that the file shows 0.1 and not
// 0.100000001490116, and reads back as the value that was written.
double shortestDouble(float number)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), number).ptr;
    double read = 0.0;
    std::from_chars(text.data(), end, read);
    return read;
}

// JSON has no NaN nor infinities: the file names them.
Json numberJson(double number)
{
    if (std::isfinite(number)) {
        return number;
    }
    if (std::isnan(number)) {
        return "nan";
    }
    return number > 0.0 ? "inf" : "-inf";
}

std::optional<platform::DefaultsValue> floatingValue(const Json& json)
{
    if (json.is_number()) {
        return json.get<double>();
    }
    constexpr std::array nonFinite{std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity()};
    for (const double number : nonFinite) {
        if (numberJson(number) == json) {
            return number;
        }
    }
    return std::nullopt;
}

std::optional<platform::DefaultsValue> optionalBooleanValue(const Json& json)
{
    if (json.is_null()) {
        return std::int64_t{0};
    }
    if (json.is_boolean()) {
        return optionalBooleanCode(json.get<bool>());
    }
    return std::nullopt;
}

template <class Held> std::optional<platform::DefaultsValue> valueIf(bool holds, const Json& json)
{
    if (holds) {
        return json.get<Held>();
    }
    return std::nullopt;
}

std::optional<platform::DefaultsValue> plainValue(const Json& json)
{
    switch (json.type()) {
    case Json::value_t::boolean:
        return json.get<bool>();
    case Json::value_t::number_integer:
        return json.get<std::int64_t>();
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        return json.get<double>();
    case Json::value_t::string:
        return json.get<std::string>();
    default:
        return std::nullopt;
    }
}

}  // namespace

std::int64_t optionalBooleanCode(bool value)
{
    return value ? trueCode : falseCode;
}

std::optional<platform::DefaultsValue> normalized(std::optional<SettingKind> kind,
                                                  const platform::DefaultsValue& value)
{
    if (!kind) {
        return value;
    }
    switch (*kind) {
    case SettingKind::boolean:
        return platform::readBool(value);
    case SettingKind::optionalBoolean:
        return optionalBoolean(platform::readInteger(value));
    case SettingKind::integer:
        return platform::readInteger(value);
    case SettingKind::floating:
        return shortestDouble(platform::readFloat(value));
    case SettingKind::text:
    case SettingKind::textList:
        break;
    }
    const auto text = platform::readString(value);
    return text ? std::optional<platform::DefaultsValue>(*text) : std::nullopt;
}

void assign(platform::DefaultsDomain& domain, const std::string& key,
            const std::optional<platform::DefaultsValue>& value)
{
    if (value) {
        domain.insert_or_assign(key, *value);
    } else {
        domain.erase(key);
    }
}

std::optional<platform::DefaultsValue> fromJson(std::optional<SettingKind> kind, const Json& json)
{
    if (!kind) {
        return plainValue(json);
    }
    switch (*kind) {
    case SettingKind::boolean:
        return valueIf<bool>(json.is_boolean(), json);
    case SettingKind::optionalBoolean:
        return optionalBooleanValue(json);
    case SettingKind::integer:
        return valueIf<std::int64_t>(json.type() == Json::value_t::number_integer, json);
    case SettingKind::floating:
        return floatingValue(json);
    case SettingKind::text:
    case SettingKind::textList:
        break;
    }
    return valueIf<std::string>(json.is_string(), json);
}

Json toJson(std::optional<SettingKind> kind, const platform::DefaultsValue& value)
{
    if (kind == SettingKind::optionalBoolean) {
        return platform::readInteger(value) == trueCode;
    }
    return std::visit(
        [](const auto& held) -> Json {
            if constexpr (std::is_same_v<std::decay_t<decltype(held)>, double>) {
                return numberJson(held);
            } else {
                return held;
            }
        },
        value);
}

std::string expectation(SettingKind kind)
{
    switch (kind) {
    case SettingKind::boolean:
    case SettingKind::optionalBoolean:
        return "true or false";
    case SettingKind::integer:
        return "an integer";
    case SettingKind::floating:
        return "a number, \"nan\", \"inf\" or \"-inf\"";
    case SettingKind::text:
    case SettingKind::textList:
        break;
    }
    return "a string in double quotes";
}

}  // namespace veltrane::linuxbackend
