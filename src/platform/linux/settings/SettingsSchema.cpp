#include "platform/linux/settings/SettingsSchema.h"

namespace veltrane::linuxbackend {

SettingsSchema::SettingsSchema(std::vector<Setting> settings) : settings_(std::move(settings))
{
    for (std::size_t index = 0; index < settings_.size(); ++index) {
        indexes_.emplace(settings_[index].key, index);
    }
}

std::optional<SettingKind> SettingsSchema::kindOf(std::string_view key) const
{
    const auto* setting = find(key);
    return setting == nullptr ? std::nullopt : std::optional(setting->kind);
}

const SettingsSchema::Setting* SettingsSchema::find(std::string_view key) const
{
    const auto found = indexes_.find(key);
    return found == indexes_.end() ? nullptr : &settings_[found->second];
}

}  // namespace veltrane::linuxbackend
