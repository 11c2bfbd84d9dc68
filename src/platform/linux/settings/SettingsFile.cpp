#include "platform/linux/settings/SettingsFile.h"

#include "platform/linux/settings/SettingValue.h"
#include "platform/linux/settings/SettingsDocument.h"
#include "platform/linux/settings/TextFile.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

std::string located(const std::filesystem::path& path, TextPosition position)
{
    return path.string() + ":" + std::to_string(position.line) + ":" + std::to_string(position.column);
}

bool sameValue(const platform::DefaultsValue& before, const platform::DefaultsValue& after)
{
    const auto* beforeNumber = std::get_if<double>(&before);
    const auto* afterNumber = std::get_if<double>(&after);
    if (beforeNumber && afterNumber && std::isnan(*beforeNumber) && std::isnan(*afterNumber)) {
        return true;
    }
    return before == after;
}

std::vector<std::string> changedKeys(const platform::DefaultsDomain& before,
                                     const platform::DefaultsDomain& after)
{
    std::vector<std::string> changed;
    for (const auto& [key, value] : before) {
        const auto found = after.find(key);
        if (found == after.end() || !sameValue(value, found->second)) {
            changed.push_back(key);
        }
    }
    for (const auto& entry : after) {
        if (!before.contains(entry.first)) {
            changed.push_back(entry.first);
        }
    }
    std::sort(changed.begin(), changed.end());
    return changed;
}

std::filesystem::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::array<char, 16384> buffer{};
    ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
    return found ? found->pw_dir : "/";
}

}  // namespace

SettingsFile::SettingsFile(std::filesystem::path path, SettingsSchema schema, Reporter reporter)
    : path_(std::move(path)), schema_(std::move(schema)), reporter_(std::move(reporter))
{
    values_ = load();
    deliverReports();
}

std::filesystem::path SettingsFile::defaultPath()
{
    // A relative XDG_CONFIG_HOME is invalid and stands for nothing.
    const char* configuration = std::getenv("XDG_CONFIG_HOME");
    const auto base = configuration && *configuration == '/' ? std::filesystem::path(configuration)
                                                             : homeFolder() / ".config";
    return base / "veltrane" / "settings.json";
}

std::vector<std::string> SettingsFile::reload()
{
    std::vector<std::string> changed;
    {
        const std::lock_guard lock(mutex_);
        auto values = load();
        // A file that cannot be used (an editor's save half written, a typo) changes nothing: the
        // settings keep their last good values until it is mended.
        if (!problem_) {
            changed = changedKeys(values_, values);
            values_ = std::move(values);
        }
    }
    deliverReports();
    return changed;
}

std::optional<std::string> SettingsFile::problem() const
{
    const std::lock_guard lock(mutex_);
    return problem_;
}

std::optional<std::string> SettingsFile::fileText(const std::string& key) const
{
    const auto found = value(key);
    if (!found) {
        return std::nullopt;
    }
    return toJson(schema_.kindOf(key), *found).dump(-1, ' ', false, Json::error_handler_t::replace);
}

void SettingsFile::fix(const std::string& key, platform::DefaultsValue value)
{
    const std::lock_guard lock(mutex_);
    fixed_.insert_or_assign(key, std::move(value));
}

std::optional<platform::DefaultsValue> SettingsFile::value(const std::string& key) const
{
    const std::lock_guard lock(mutex_);
    if (const auto fixed = fixed_.find(key); fixed != fixed_.end()) {
        return fixed->second;
    }
    const auto found = values_.find(key);
    return found == values_.end() ? std::nullopt : std::optional(found->second);
}

void SettingsFile::adopt(const std::function<void()>& work)
{
    struct Adopting {
        SettingsFile& file;
        explicit Adopting(SettingsFile& settings) : file(settings) { set(std::this_thread::get_id()); }
        ~Adopting() { set(std::nullopt); }
        void set(std::optional<std::thread::id> thread)
        {
            const std::lock_guard lock(file.mutex_);
            file.adopting_ = thread;
        }
    };
    const Adopting adopting(*this);
    work();
}

void SettingsFile::store(const std::string& key, platform::DefaultsValue value)
{
    {
        const std::lock_guard lock(mutex_);
        if (!adopting()) {
            write(key, value);
        }
    }
    deliverReports();
}

void SettingsFile::erase(const std::string& key)
{
    {
        const std::lock_guard lock(mutex_);
        if (!adopting()) {
            write(key, std::nullopt);
        }
    }
    deliverReports();
}

void SettingsFile::write(const std::string& key, const std::optional<platform::DefaultsValue>& value)
{
    const auto stored = value ? normalized(schema_.kindOf(key), *value) : std::nullopt;
    assign(values_, key, stored);
    readFile([&](SettingsDocument& document) {
        document.set(key, stored);
        replaceTextFile(path_, document.text());
    });
}

platform::DefaultsDomain SettingsFile::load()
{
    platform::DefaultsDomain values;
    readFile([&values](const SettingsDocument& document) { values = document.values(); });
    return values;
}

// Reads the file and hands what it holds to use; when the file cannot be used, or use fails, the
// problem is noted instead.
void SettingsFile::readFile(const std::function<void(SettingsDocument&)>& use)
{
    try {
        const auto text = readTextFile(path_);
        auto document = text ? SettingsDocument::parse(schema_, *text) : SettingsDocument(schema_);
        warnOfUnknownKeys(document);
        use(document);
        setProblem(std::nullopt);
    } catch (const SettingsError& error) {
        setProblem(located(path_, error.position()) + ": " + error.what());
    } catch (const std::system_error& error) {
        setProblem(error.what());
    }
}

void SettingsFile::warnOfUnknownKeys(const SettingsDocument& document)
{
    for (const auto& member : document.unknownMembers()) {
        if (warnedKeys_.insert(member.key).second) {
            unreported_.push_back(located(path_, member.keyPosition) + ": warning: unknown setting \"" +
                                  member.key + "\" is kept as it is");
        }
    }
}

void SettingsFile::setProblem(const std::optional<std::string>& problem)
{
    if (problem == problem_) {
        return;
    }
    problem_ = problem;
    if (problem) {
        unreported_.push_back(
            *problem + " (the settings file is left untouched: the settings keep their last good values, "
                       "and changes are kept in memory, until it is fixed)");
    }
}

void SettingsFile::deliverReports()
{
    std::vector<std::string> reports;
    {
        const std::lock_guard lock(mutex_);
        reports.swap(unreported_);
    }
    for (const auto& report : reports) {
        if (reporter_) {
            reporter_(report);
        }
    }
}

}  // namespace veltrane::linuxbackend
