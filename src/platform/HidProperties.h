#pragma once

#include "platform/HidDevice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane::platform {

// A device property read as a signed or an unsigned integer: nothing when it is missing, not a
// number, or out of the range asked for.
std::optional<std::int64_t> integerProperty(const HidDevice& device, std::string_view key);
std::optional<std::uint64_t> unsignedProperty(const HidDevice& device, std::string_view key);
// A text property: nothing when it is missing or not a text.
std::optional<std::string> textProperty(const HidDevice& device, std::string_view key);

}  // namespace veltrane::platform
