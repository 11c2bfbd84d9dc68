#include "platform/linux/settings/SettingsSchema.h"

namespace veltrane::linuxbackend {

SettingsSchema::SettingsSchema(std::vector<Setting> settings) : settings_(std::move(settings))
{
    for (const auto& setting : settings_) {
        kinds_.emplace(setting.key, setting.kind);
    }
}

std::optional<SettingKind> SettingsSchema::kindOf(std::string_view key) const
{
    const auto found = kinds_.find(key);
    return found == kinds_.end() ? std::nullopt : std::optional(found->second);
}

}  // namespace veltrane::linuxbackend
