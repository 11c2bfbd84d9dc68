#include "platform/HidProperties.h"

#include <limits>

namespace veltrane::platform {

std::optional<std::int64_t> integerProperty(const HidDevice& device, std::string_view key)
{
    const HidProperty value = device.property(key);
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return *number;
    }
    const auto* number = std::get_if<std::uint64_t>(&value);
    if (number != nullptr &&
        *number <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return static_cast<std::int64_t>(*number);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> unsignedProperty(const HidDevice& device, std::string_view key)
{
    const HidProperty value = device.property(key);
    if (const auto* number = std::get_if<std::uint64_t>(&value)) {
        return *number;
    }
    const auto* number = std::get_if<std::int64_t>(&value);
    if (number != nullptr && *number >= 0) {
        return static_cast<std::uint64_t>(*number);
    }
    return std::nullopt;
}

std::optional<std::string> textProperty(const HidDevice& device, std::string_view key)
{
    const HidProperty value = device.property(key);
    const auto* text = std::get_if<std::string>(&value);
    return text == nullptr ? std::nullopt : std::optional<std::string>(*text);
}

}  // namespace veltrane::platform
