#include "platform/linux/settings/SettingsCommand.h"

#include "platform/linux/settings/NumberText.h"
#include "platform/linux/settings/SettingKeyName.h"
#include "platform/linux/settings/SettingValue.h"
#include "platform/linux/system/PrintableText.h"

#include <algorithm>
#include <functional>

namespace veltrane::linuxbackend {

namespace {

constexpr SettingsCommand::Verb kVerbs[] = {
    {"list", "every setting and the value in force, marking defaults"},
    {"describe KEY", "what a setting means, what it takes, its unit and its default"},
    {"get KEY", "the value in force"},
    {"set KEY VALUE", "sets it: keys by name (escape, capslock, f13), lists as JSON arrays"},
    {"add KEY NAME", "adds an application to disabledApps or enabledApps"},
    {"remove KEY NAME", "takes an application out of disabledApps or enabledApps"},
    {"reset [KEY]", "a setting, or every setting, back to its default"},
    {"unset KEY", "the same as reset KEY"},
    {"path", "where the settings file is"},
};

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

// The value a command line's text stands for in the setting, or nothing when it cannot hold it.
std::optional<platform::DefaultsValue> commandValue(const SettingsSchema::Setting& setting,
                                                    const std::string& text)
{
    if (setting.help.keys != KeyVocabulary::none) {
        return held(SettingKeyName::read(setting.help, text));
    }
    switch (setting.kind) {
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

}  // namespace

std::string SettingsCommand::accepted(const Setting& setting)
{
    if (setting.help.keys != KeyVocabulary::none) {
        return std::string("the name of a key (such as escape, capslock or f13)") +
               (setting.help.noKey ? ", none" : "") + " or its number";
    }
    switch (setting.kind) {
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

namespace {

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

std::string SettingsCommand::shownValue(const Setting& setting, const std::string& text)
{
    if (setting.help.keys != KeyVocabulary::none) {
        if (const auto number = parsedNumber<std::int64_t>(text)) {
            return SettingKeyName::shown(setting.help, *number);
        }
    }
    return text.empty() ? "(not set)" : text;
}

std::span<const SettingsCommand::Verb> SettingsCommand::verbs()
{
    return kVerbs;
}

int SettingsCommand::run(const std::vector<std::string>& arguments)
{
    const auto count = arguments.size();
    const std::string verb = count > 0 ? arguments[0] : "";
    const std::string key = count > 1 ? arguments[1] : "";
    if (count == 1 && (verb == "list" || verb == "path" || verb == "reset")) {
        return verb == "list" ? list() : verb == "path" ? path() : reset(std::nullopt);
    }
    if (count == 2 && (verb == "describe" || verb == "get" || verb == "reset" || verb == "unset")) {
        return verb == "describe" ? describe(key) : verb == "get" ? get(key) : reset(key);
    }
    if (count == 3 && verb == "set") {
        return set(key, arguments[2]);
    }
    if (count == 3 && (verb == "add" || verb == "remove")) {
        return edit(key, arguments[2], verb == "add");
    }
    return usage();
}

int SettingsCommand::list()
{
    if (reportedProblem()) {
        return unusableFile;
    }
    for (const auto& setting : file_.schema().settings()) {
        out_ << setting.key << " = " << inForce(setting, true) << '\n';
    }
    return done;
}

int SettingsCommand::describe(const std::string& key)
{
    const auto* setting = known(key);
    if (setting == nullptr) {
        return refused;
    }
    out_ << key << ": " << setting->help.meaning << "\n  takes:   " << accepted(*setting) << '\n';
    if (!setting->help.unit.empty()) {
        out_ << "  unit:    " << setting->help.unit << '\n';
    }
    out_ << "  default: " << shownValue(*setting, setting->help.absent) << '\n';
    return done;
}

int SettingsCommand::get(const std::string& key)
{
    const auto* setting = known(key);
    if (setting == nullptr) {
        return refused;
    }
    if (reportedProblem()) {
        return unusableFile;
    }
    out_ << inForce(*setting, false) << '\n';
    return done;
}

int SettingsCommand::set(const std::string& key, const std::string& text)
{
    const auto* setting = known(key);
    if (setting == nullptr) {
        return refused;
    }
    const auto value = commandValue(*setting, text);
    if (!value) {
        err_ << "veltrane config: " << key << " takes " << accepted(*setting) << ", not \"" << text << "\"\n";
        return refused;
    }
    if (reportedProblem()) {
        return unusableFile;
    }
    writeValue(file_, key, *value);
    return reportedProblem() ? unusableFile : done;
}

int SettingsCommand::reset(const std::optional<std::string>& key)
{
    if (key && known(*key) == nullptr) {
        return refused;
    }
    if (reportedProblem()) {
        return unusableFile;
    }
    for (const auto& setting : file_.schema().settings()) {
        if (!key || setting.key == *key) {
            file_.remove(setting.key);
        }
    }
    return reportedProblem() ? unusableFile : done;
}

int SettingsCommand::edit(const std::string& key, const std::string& name, bool add)
{
    const auto* setting = known(key);
    if (setting == nullptr) {
        return refused;
    }
    if (setting->kind != SettingKind::textList || name.empty()) {
        err_ << "veltrane config: "
             << (name.empty() ? "an application's name cannot be empty"
                              : key + " is no list of applications: add and remove "
                                      "change disabledApps and enabledApps")
             << '\n';
        return refused;
    }
    // The desktop's names are printable text, and the file holds nothing else.
    if (add && !isPrintableText(name)) {
        err_ << "veltrane config: an application's name is UTF-8 text without control characters\n";
        return refused;
    }
    if (reportedProblem()) {
        return unusableFile;
    }
    auto names = Json::parse(file_.stringForKey(key).value_or("[]"), nullptr, false);
    const auto found = std::ranges::find(names, Json(name));
    if (!add && found == names.end()) {
        err_ << "veltrane config: " << name << " is not in " << key << ", which holds " << names.dump()
             << '\n';
        return refused;
    }
    if (add && found != names.end()) {
        return done;
    }
    if (add) {
        names.push_back(name);
    } else {
        names.erase(found);
    }
    file_.setString(key, names.dump());
    return reportedProblem() ? unusableFile : done;
}

int SettingsCommand::path()
{
    out_ << file_.path().string() << '\n';
    return done;
}

int SettingsCommand::usage()
{
    err_ << "usage: veltrane config";
    for (const auto& verb : kVerbs) {
        err_ << (&verb == kVerbs ? " " : " | ") << verb.synopsis;
    }
    err_ << '\n';
    return refused;
}

const SettingsSchema::Setting* SettingsCommand::known(const std::string& key)
{
    const auto* setting = file_.schema().find(key);
    if (setting == nullptr) {
        err_ << "veltrane config: unknown setting \"" << key << "\" (veltrane config list shows them all)\n";
    }
    return setting;
}

bool SettingsCommand::reportedProblem()
{
    const auto problem = file_.problem();
    if (problem) {
        err_ << "veltrane config: " << *problem << '\n';
    }
    return problem.has_value();
}

std::string SettingsCommand::inForce(const Setting& setting, bool marked) const
{
    const auto stored =
        setting.kind == SettingKind::textList ? file_.stringForKey(setting.key) : file_.fileText(setting.key);
    const auto shown = shownValue(setting, stored.value_or(setting.help.absent));
    return marked && !stored ? shown + "  (default)" : shown;
}

}  // namespace veltrane::linuxbackend
