#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace veltrane::platform {

// A value of the user defaults domain, and its typed readings: a value stored as one type and read
// as another converts the way a property-list store converts it (see UserDefaults). Every
// defaults backend reads through these.
using DefaultsValue = std::variant<bool, std::int64_t, double, std::string>;
using DefaultsDomain = std::map<std::string, DefaultsValue, std::less<>>;

bool readBool(const DefaultsValue& value);
std::int64_t readInteger(const DefaultsValue& value);
float readFloat(const DefaultsValue& value);
std::optional<std::string> readString(const DefaultsValue& value);

}  // namespace veltrane::platform
