#include "platform/linux/settings/SettingsDocument.h"

#include "platform/linux/settings/SettingValue.h"

#include <algorithm>
#include <set>

namespace veltrane::linuxbackend {

SettingsDocument SettingsDocument::parse(const SettingsSchema& schema, std::string_view text)
{
    SettingsDocument document(schema);
    std::set<std::string, std::less<>> seen;
    for (auto& member : JsonObjectReader(text).members()) {
        if (!seen.insert(member.key).second) {
            throw SettingsError(member.keyPosition, member.key + " is written more than once");
        }
        const auto kind = schema.kindOf(member.key);
        if (!kind) {
            document.unknown_.push_back(std::move(member));
            continue;
        }
        const auto value = fromJson(kind, member.value);
        if (!value) {
            throw SettingsError(member.valuePosition, member.key + " must be " + expectation(*kind));
        }
        document.set(member.key, value);
    }
    return document;
}

platform::DefaultsDomain SettingsDocument::values() const
{
    auto domain = known_;
    for (const auto& member : unknown_) {
        assign(domain, member.key, fromJson(std::nullopt, member.value));
    }
    return domain;
}

void SettingsDocument::set(const std::string& key, const std::optional<platform::DefaultsValue>& value)
{
    const auto kind = schema_->kindOf(key);
    if (!kind) {
        setUnknown(key, value);
        return;
    }
    assign(known_, key, value ? normalized(kind, *value) : std::nullopt);
}

void SettingsDocument::setUnknown(const std::string& key, const std::optional<platform::DefaultsValue>& value)
{
    const auto member = std::find_if(unknown_.begin(), unknown_.end(),
                                     [&key](const JsonMember& held) { return held.key == key; });
    if (!value) {
        if (member != unknown_.end()) {
            unknown_.erase(member);
        }
    } else if (member != unknown_.end()) {
        member->value = toJson(std::nullopt, *value);
    } else {
        unknown_.push_back({key, toJson(std::nullopt, *value), {}, {}});
    }
}

std::string SettingsDocument::text() const
{
    auto object = Json::object();
    for (const auto& setting : schema_->settings()) {
        if (const auto found = known_.find(setting.key); found != known_.end()) {
            object[setting.key] = toJson(setting.kind, found->second);
        }
    }
    for (const auto& member : unknown_) {
        object[member.key] = member.value;
    }
    // Texts that are not UTF-8 can only come from a program's writes, as the file's are refused;
    // they are stored with the bad bytes replaced rather than not at all.
    return object.dump(4, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace veltrane::linuxbackend
