#include "platform/linux/settings/SettingKeyName.h"

#include "platform/KeyTable.h"
#include "platform/linux/settings/NumberText.h"

namespace veltrane::linuxbackend {

namespace {

using platform::KeyTable;

constexpr std::string_view kNone = "none";

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
    if (const auto* key = KeyTable::byName(text)) {
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
    return key != nullptr ? std::string(key->name) : std::to_string(value);
}

}  // namespace veltrane::linuxbackend
