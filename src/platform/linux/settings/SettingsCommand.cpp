#include "platform/linux/settings/SettingsCommand.h"

#include "platform/linux/settings/NumberText.h"
#include "platform/linux/settings/SettingValue.h"

#include <algorithm>
#include <functional>

namespace veltrane::linuxbackend {

namespace {

constexpr const char* usage = "usage: veltrane config list | get KEY | set KEY VALUE | unset KEY";

std::optional<bool> booleanText(const std::string& text)
{
    if (text == "true" || text == "false") {
        return text == "true";
    }
    return std::nullopt;
}

template <class Parsed, class Convert = std::identity>
std::optional<platform::DefaultsValue> held(const std::optional<Parsed>& parsed, Convert convert = {})
{
    if (parsed) {
        return convert(*parsed);
    }
    return std::nullopt;
}

bool isListOfStrings(const std::string& text)
{
    const auto json = Json::parse(text, nullptr, false);
    return json.is_array() &&
           std::ranges::all_of(json, [](const Json& element) { return element.is_string(); });
}

// The value a command line's text stands for in a setting of the kind, or nothing when it cannot hold it.
std::optional<platform::DefaultsValue> commandValue(SettingKind kind, const std::string& text)
{
    switch (kind) {
    case SettingKind::boolean:
        return held(booleanText(text));
    case SettingKind::optionalBoolean:
        return held(booleanText(text), optionalBooleanCode);
    case SettingKind::integer:
        return held(parsedNumber<std::int64_t>(text));
    case SettingKind::floating:
        return held(parsedNumber<float>(text), [](float number) { return static_cast<double>(number); });
    case SettingKind::textList:
        return isListOfStrings(text) ? std::optional<platform::DefaultsValue>(text) : std::nullopt;
    case SettingKind::text:
        break;
    }
    return text;
}

const char* accepted(SettingKind kind)
{
    switch (kind) {
    case SettingKind::boolean:
    case SettingKind::optionalBoolean:
        return "true or false";
    case SettingKind::integer:
        return "an integer";
    case SettingKind::floating:
        return "a number, nan, inf or -inf";
    case SettingKind::textList:
        return "a JSON array of strings, such as '[\"firefox-esr\", \"org.gnome.Terminal\"]'";
    case SettingKind::text:
        break;
    }
    return "any text";
}

void writeValue(platform::UserDefaults& defaults, const std::string& key,
                const platform::DefaultsValue& value)
{
    if (const auto* on = std::get_if<bool>(&value)) {
        defaults.setBool(key, *on);
    } else if (const auto* whole = std::get_if<std::int64_t>(&value)) {
        defaults.setInteger(key, *whole);
    } else if (const auto* real = std::get_if<double>(&value)) {
        defaults.setFloat(key, static_cast<float>(*real));
    } else {
        defaults.setString(key, std::get<std::string>(value));
    }
}

}  // namespace

int SettingsCommand::run(const std::vector<std::string>& arguments)
{
    const auto count = arguments.size();
    const std::string verb = count > 0 ? arguments[0] : "";
    if (verb == "list" && count == 1) {
        return list();
    }
    if (verb == "get" && count == 2) {
        return get(arguments[1]);
    }
    if (verb == "set" && count == 3) {
        return set(arguments[1], arguments[2]);
    }
    if (verb == "unset" && count == 2) {
        return unset(arguments[1]);
    }
    err_ << usage << '\n';
    return refused;
}

int SettingsCommand::list()
{
    if (reportedProblem()) {
        return unusableFile;
    }
    for (const auto& setting : file_.schema().settings()) {
        out_ << setting.key << " = " << shown(setting.key) << '\n';
    }
    return done;
}

int SettingsCommand::get(const std::string& key)
{
    if (!knownKind(key)) {
        return refused;
    }
    if (reportedProblem()) {
        return unusableFile;
    }
    out_ << shown(key) << '\n';
    return done;
}

int SettingsCommand::set(const std::string& key, const std::string& text)
{
    const auto kind = knownKind(key);
    if (!kind) {
        return refused;
    }
    const auto value = commandValue(*kind, text);
    if (!value) {
        err_ << "veltrane config: " << key << " takes " << accepted(*kind) << ", not \"" << text << "\"\n";
        return refused;
    }
    if (reportedProblem()) {
        return unusableFile;
    }
    writeValue(file_, key, *value);
    return reportedProblem() ? unusableFile : done;
}

int SettingsCommand::unset(const std::string& key)
{
    if (!knownKind(key)) {
        return refused;
    }
    if (reportedProblem()) {
        return unusableFile;
    }
    file_.remove(key);
    return reportedProblem() ? unusableFile : done;
}

std::optional<SettingKind> SettingsCommand::knownKind(const std::string& key)
{
    const auto kind = file_.schema().kindOf(key);
    if (!kind) {
        err_ << "veltrane config: unknown setting \"" << key << "\" (veltrane config list shows them all)\n";
    }
    return kind;
}

bool SettingsCommand::reportedProblem()
{
    const auto problem = file_.problem();
    if (problem) {
        err_ << "veltrane config: " << *problem << '\n';
    }
    return problem.has_value();
}

std::string SettingsCommand::shown(const std::string& key) const
{
    return file_.fileText(key).value_or("(unset)");
}

}  // namespace veltrane::linuxbackend
