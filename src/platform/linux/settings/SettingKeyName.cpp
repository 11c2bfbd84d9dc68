#include "platform/linux/settings/SettingKeyName.h"

#include "platform/KeyTable.h"
#include "platform/linux/settings/NumberText.h"

#include <utility>

namespace veltrane::linuxbackend {

namespace {

using platform::KeyTable;

constexpr std::string_view kNone = "none";

// The key table names Alt and Super as the keys' makers print them elsewhere.
constexpr std::pair<std::string_view, std::string_view> kLinuxNames[] = {
    {"lopt", "lalt"}, {"ropt", "ralt"}, {"lcmd", "lsuper"}, {"rcmd", "rsuper"}};

std::string_view linuxName(std::string_view tableName)
{
    for (const auto& [table, ours] : kLinuxNames) {
        if (table == tableName) {
            return ours;
        }
    }
    return tableName;
}

std::string_view tableName(std::string_view name)
{
    for (const auto& [table, ours] : kLinuxNames) {
        if (ours == name) {
            return table;
        }
    }
    return name;
}

std::optional<std::int64_t> valueOf(const SettingHelp& help, const KeyTable::Key& key)
{
    if (help.keys == KeyVocabulary::usage && key.usagePage == KeyTable::kKeyboardPage) {
        return key.usage;
    }
    if (help.keys == KeyVocabulary::keyCode && key.keyCode) {
        return *key.keyCode;
    }
    return std::nullopt;
}

const KeyTable::Key* keyOf(const SettingHelp& help, std::int64_t value)
{
    if (value < 0 || value > 0xFFFF) {
        return nullptr;
    }
    const auto number = static_cast<std::uint16_t>(value);
    return help.keys == KeyVocabulary::usage ? KeyTable::byUsage(KeyTable::kKeyboardPage, number)
                                             : KeyTable::byKeyCode(number);
}

}  // namespace

std::optional<std::int64_t> SettingKeyName::read(const SettingHelp& help, std::string_view text)
{
    if (text == kNone) {
        return help.noKey;
    }
    if (const auto* key = KeyTable::byName(tableName(text))) {
        return valueOf(help, *key);
    }
    return parsedNumber<std::int64_t>(text);
}

std::string SettingKeyName::shown(const SettingHelp& help, std::int64_t value)
{
    if (value == help.noKey) {
        return std::string(kNone);
    }
    const auto* key = keyOf(help, value);
    return key != nullptr ? std::string(linuxName(key->name)) : std::to_string(value);
}

std::vector<std::string> SettingKeyName::names(const SettingHelp& help)
{
    std::vector<std::string> names;
    if (help.noKey) {
        names.emplace_back(kNone);
    }
    for (const auto& key : KeyTable::keys()) {
        if (valueOf(help, key)) {
            names.emplace_back(linuxName(key.name));
        }
    }
    return names;
}

}  // namespace veltrane::linuxbackend
