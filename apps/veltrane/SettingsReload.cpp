#include "SettingsReload.h"

#include "SettingDescriptions.h"

#include <nlohmann/json.hpp>

#include <string_view>

namespace veltrane {

namespace {

using linuxbackend::SettingKind;

template <class Setting> constexpr SettingKind kindOf();
template <> constexpr SettingKind kindOf<BoolDefault>()
{
    return SettingKind::boolean;
}
template <> constexpr SettingKind kindOf<OptionalBoolDefault>()
{
    return SettingKind::optionalBoolean;
}
template <> constexpr SettingKind kindOf<IntDefault>()
{
    return SettingKind::integer;
}
template <> constexpr SettingKind kindOf<FloatDefault>()
{
    return SettingKind::floating;
}
template <> constexpr SettingKind kindOf<StringDefault>()
{
    return SettingKind::text;
}

// The lists of applications are text to the engine, and a JSON array of identifiers in that text.
SettingKind kindFor(std::string_view key, SettingKind kind)
{
    return key == "disabledApps" || key == "enabledApps" ? SettingKind::textList : kind;
}

// What a setting reads as while it is not set, as the file writes it.
template <class Setting> std::string declaredText()
{
    if constexpr (std::is_same_v<Setting, StringDefault>) {
        return "";
    } else if constexpr (std::is_same_v<Setting, IntDefault>) {
        return "0";
    } else if constexpr (std::is_same_v<Setting, FloatDefault>) {
        return "0.0";
    } else {
        return "false";
    }
}

template <class Setting, class Number> std::string declaredText(Number declared)
{
    return nlohmann::json(declared).dump();
}

linuxbackend::SettingHelp help(std::string_view key, const std::string& declared)
{
    return SettingDescriptions::of(key, declared).value_or(linuxbackend::SettingHelp{});
}

// A stored 0 stands for the declared default, as when the setting is read at launch.
void load(BoolDefault& setting, platform::UserDefaults& store, const std::string& key)
{
    setting.setEnabled(store.boolForKey(key));
}

void load(OptionalBoolDefault& setting, platform::UserDefaults& store, const std::string& key)
{
    const auto stored = store.integerForKey(key);
    setting.setEnabled(stored == 1 ? std::optional(true) : stored == 2 ? std::optional(false) : std::nullopt);
}

void load(IntDefault& setting, platform::UserDefaults& store, const std::string& key,
          std::int64_t declared = 0)
{
    const auto stored = store.integerForKey(key);
    setting.setValue(stored == 0 ? declared : stored);
}

void load(FloatDefault& setting, platform::UserDefaults& store, const std::string& key, float declared = 0.0f)
{
    const auto stored = store.floatForKey(key);
    setting.setValue(stored == 0.0f ? declared : stored);
}

void load(StringDefault& setting, platform::UserDefaults& store, const std::string& key)
{
    setting.setValue(store.stringForKey(key));
}

}  // namespace

linuxbackend::SettingsSchema SettingsReload::schema()
{
#define VELTRANE_SCHEMA_ENTRY(Class, name, ...)                                                              \
    {#name, kindFor(#name, kindOf<Class>()), help(#name, declaredText<Class>(__VA_ARGS__))},
    return linuxbackend::SettingsSchema({VELTRANE_SETTINGS(VELTRANE_SCHEMA_ENTRY)});
#undef VELTRANE_SCHEMA_ENTRY
}

// Every setting takes its new value before the engine follows any of them, so that settings
// changed together (the lists of applications and their mode) are followed as a whole. What the
// engine sets while it follows them (caps lock's own remapping switched off when caps lock becomes
// the hyper key) stays in memory as well: written back, it would race the editor's next save, and
// follow a file that may be gone already.
void SettingsReload::apply(const std::vector<std::string>& changedKeys)
{
    store_.adopt([&] {
        std::vector<std::string> known;
        for (const auto& key : changedKeys) {
            if (reload(key)) {
                known.push_back(key);
            }
        }
        for (const auto& key : known) {
            actions_.settingChanged(key);
        }
    });
}

bool SettingsReload::reload(const std::string& key)
{
#define VELTRANE_RELOAD_ENTRY(Class, name, ...)                                                              \
    if (key == #name) {                                                                                      \
        load(defaults_.name(), store_, key __VA_OPT__(, ) __VA_ARGS__);                                      \
        return true;                                                                                         \
    }
    VELTRANE_SETTINGS(VELTRANE_RELOAD_ENTRY)
#undef VELTRANE_RELOAD_ENTRY
    return false;
}

}  // namespace veltrane
