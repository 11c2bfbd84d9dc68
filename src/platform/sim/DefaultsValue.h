#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace veltrane::sim {

// A value of the user defaults domain, and the typed readings of it that the domain gives.
using DefaultsValue = std::variant<bool, std::int64_t, double, std::string>;
using DefaultsDomain = std::map<std::string, DefaultsValue, std::less<>>;

bool readBool(const DefaultsValue& value);
std::int64_t readInteger(const DefaultsValue& value);
float readFloat(const DefaultsValue& value);
std::optional<std::string> readString(const DefaultsValue& value);

}  // namespace veltrane::sim
