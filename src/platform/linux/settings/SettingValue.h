#pragma once

#include "platform/DefaultsValue.h"
#include "platform/linux/settings/JsonObjectReader.h"
#include "platform/linux/settings/SettingKind.h"

#include <cstdint>
#include <optional>
#include <string>

namespace veltrane::linuxbackend {

// How the settings file holds a setting's value: in memory as the port reads it, in the file as JSON. A
// key the schema does not know, of no kind, holds whatever was written to it.

// The integer the port stores for an optional boolean that is set.
std::int64_t optionalBooleanCode(bool value);

// What a write through the port stores for a setting: the value in the setting's own type, converted as
// the port's readers convert it, or nothing (the key goes) when that type cannot hold it.
std::optional<platform::DefaultsValue> normalized(std::optional<SettingKind> kind,
                                                  const platform::DefaultsValue& value);
// Puts the value in the domain, or takes the key out of it for nothing.
void assign(platform::DefaultsDomain& domain, const std::string& key,
            const std::optional<platform::DefaultsValue>& value);

// The value a setting's JSON holds, or nothing when the setting cannot hold that JSON. Null holds an
// unset optional boolean; for a key of no kind, null, arrays and objects hold nothing the port can read.
std::optional<platform::DefaultsValue> fromJson(std::optional<SettingKind> kind, const Json& json);
// The JSON the file writes for a setting's normalized value.
Json toJson(std::optional<SettingKind> kind, const platform::DefaultsValue& value);
// What the file may hold for a setting of the kind, as in "must be true or false".
std::string expectation(SettingKind kind);

}  // namespace veltrane::linuxbackend
