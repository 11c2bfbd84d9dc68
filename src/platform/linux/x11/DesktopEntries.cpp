#include "platform/linux/x11/DesktopEntries.h"

#include "platform/linux/system/PrintableText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <utility>

namespace veltrane::linuxbackend {

namespace {

namespace fs = std::filesystem;
using Keys = std::map<std::string, std::string>;

// No desktop entry comes near this; a bigger file is not one and is not worth reading.
constexpr std::uintmax_t kLargestEntry = 1 << 20;

struct DesktopFile {
    fs::path path;
    std::string id;
};

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string unescaped(const std::string& value)
{
    static const std::map<char, char> escapes{
        {'s', ' '}, {'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'\\', '\\'}};
    std::string result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto escape =
            i + 1 < value.size() && value[i] == '\\' ? escapes.find(value[i + 1]) : escapes.end();
        if (escape != escapes.end()) {
            result += escape->second;
            ++i;
        } else {
            result += value[i];
        }
    }
    return result;
}

bool equalIgnoringCase(const std::string& left, const std::string& right)
{
    return std::ranges::equal(left, right, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::string lastDottedPart(const std::string& id)
{
    return id.substr(id.rfind('.') + 1);
}

// The keys of the [Desktop Entry] group; a repeated group or key does not override the first.
Keys entryKeys(const fs::path& path)
{
    Keys keys;
    std::ifstream file(path, std::ios::binary);
    bool inEntry = false;
    bool entrySeen = false;
    for (std::string line; std::getline(file, line);) {
        line = trimmed(line);
        if (line.starts_with('[')) {
            inEntry = !entrySeen && line == "[Desktop Entry]";
            entrySeen = entrySeen || inEntry;
        } else if (const auto equals = line.find('='); inEntry && equals != std::string::npos) {
            keys.try_emplace(trimmed(line.substr(0, equals)), unescaped(trimmed(line.substr(equals + 1))));
        }
    }
    return keys;
}

// Exec's words, with its double quotes taken off and what they escape with a backslash restored.
std::vector<std::string> words(const std::string& exec)
{
    std::vector<std::string> found;
    std::size_t i = 0;
    for (;;) {
        while (i < exec.size() && std::isspace(static_cast<unsigned char>(exec[i])) != 0) {
            ++i;
        }
        // A quote left open ends the last word past the end.
        if (i >= exec.size()) {
            return found;
        }
        std::string word;
        while (i < exec.size() && std::isspace(static_cast<unsigned char>(exec[i])) == 0) {
            if (exec[i] != '"') {
                word += exec[i++];
                continue;
            }
            for (++i; i < exec.size() && exec[i] != '"'; ++i) {
                if (exec[i] == '\\' && i + 1 < exec.size()) {
                    ++i;
                }
                word += exec[i];
            }
            ++i;
        }
        found.push_back(std::move(word));
    }
}

// The file name of the program Exec starts, past an env that sets its environment: its variables,
// its options, and the word after an option that takes one (-u NAME, -C FOLDER).
std::string programOf(const std::string& exec)
{
    const auto all = words(exec);
    auto word = all.begin();
    if (word != all.end() && fs::path(*word).filename() == "env") {
        for (++word; word != all.end(); ++word) {
            const bool takesWord = *word == "-u" || *word == "--unset" || *word == "-C" || *word == "--chdir";
            if (takesWord && word + 1 != all.end()) {
                ++word;
            } else if (word->find('=') == std::string::npos && !word->starts_with('-')) {
                break;
            }
        }
    }
    return word == all.end() ? std::string() : fs::path(*word).filename().string();
}

std::vector<DesktopFile> desktopFiles(const fs::path& folder)
{
    std::vector<DesktopFile> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        if (it->path().extension() != ".desktop" || !it->is_regular_file(error) ||
            it->file_size(error) > kLargestEntry) {
            continue;
        }
        auto id = it->path().lexically_relative(folder).replace_extension().string();
        std::ranges::replace(id, '/', '-');
        files.push_back({it->path(), std::move(id)});
    }
    std::ranges::sort(files, {}, &DesktopFile::id);
    return files;
}

std::string valueOr(const Keys& keys, const std::string& key)
{
    const auto found = keys.find(key);
    return found == keys.end() ? std::string() : found->second;
}

bool launchable(const Keys& keys, const std::string& id)
{
    const auto name = valueOr(keys, "Name");
    return valueOr(keys, "Type") == "Application" && valueOr(keys, "Hidden") != "true" && !name.empty() &&
           isPrintableText(name) && isPrintableText(id);
}

std::vector<fs::path> pathList(const char* variable, const std::string& fallback)
{
    const char* value = std::getenv(variable);
    const std::string list = value != nullptr && *value != '\0' ? value : fallback;
    std::vector<fs::path> paths;
    for (std::size_t start = 0; start <= list.size();) {
        const auto end = std::min(list.find(':', start), list.size());
        // Relative paths are to be ignored.
        if (fs::path path(list.substr(start, end - start)); path.is_absolute()) {
            paths.push_back(path / "applications");
        }
        start = end + 1;
    }
    return paths;
}

}  // namespace

std::vector<fs::path> DesktopEntries::defaultFolders()
{
    const char* home = std::getenv("HOME");
    auto folders = pathList("XDG_DATA_HOME", std::string(home != nullptr ? home : "") + "/.local/share");
    auto system = pathList("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    folders.insert(folders.end(), system.begin(), system.end());
    return folders;
}

DesktopEntries::DesktopEntries(std::vector<fs::path> folders) : folders_(std::move(folders)) {}

std::optional<DesktopEntries::Entry> DesktopEntries::forWindowClass(const std::string& instance,
                                                                    const std::string& windowClass) const
{
    using Rule = bool (*)(const Application&, const std::string&);
    static constexpr std::array<Rule, 3> rules{
        [](const Application& application, const std::string& name) {
            return application.startupWMClass == name;
        },
        [](const Application& application, const std::string& name) {
            return equalIgnoringCase(application.entry.id, name);
        },
        [](const Application& application, const std::string& name) {
            return equalIgnoringCase(lastDottedPart(application.entry.id), name);
        },
    };
    for (const Rule rule : rules) {
        for (const auto* name : {&windowClass, &instance}) {
            if (name->empty()) {
                continue;
            }
            if (auto entry = find([&](const Application& application) { return rule(application, *name); })) {
                return entry;
            }
        }
    }
    return std::nullopt;
}

std::optional<DesktopEntries::Entry> DesktopEntries::forExecutable(const fs::path& executable) const
{
    const auto name = executable.filename().string();
    if (name.empty()) {
        return std::nullopt;
    }
    return find([&](const Application& application) { return application.program == name; });
}

const std::vector<DesktopEntries::Application>& DesktopEntries::applications() const
{
    std::call_once(loaded_, [this] { applications_ = load(folders_); });
    return applications_;
}

// Entries the menus hide come last: they name a window only when no shown entry does.
std::vector<DesktopEntries::Application> DesktopEntries::load(const std::vector<fs::path>& folders)
{
    std::set<std::string> seen;
    std::vector<Application> loaded;
    std::vector<Application> hidden;
    for (const auto& folder : folders) {
        for (auto& file : desktopFiles(folder)) {
            if (!seen.insert(file.id).second) {
                continue;
            }
            const auto keys = entryKeys(file.path);
            if (launchable(keys, file.id)) {
                auto& into = valueOr(keys, "NoDisplay") == "true" ? hidden : loaded;
                into.push_back({{std::move(file.id), valueOr(keys, "Name")},
                                valueOr(keys, "StartupWMClass"),
                                programOf(valueOr(keys, "Exec"))});
            }
        }
    }
    loaded.insert(loaded.end(), hidden.begin(), hidden.end());
    return loaded;
}

std::optional<DesktopEntries::Entry>
DesktopEntries::find(const std::function<bool(const Application&)>& matches) const
{
    const auto& all = applications();
    const auto found = std::ranges::find_if(all, matches);
    return found == all.end() ? std::nullopt : std::optional(found->entry);
}

}  // namespace veltrane::linuxbackend
