#pragma once

#include "platform/DefaultsStore.h"
#include "platform/linux/settings/SettingsSchema.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {

class SettingsDocument;

// The program's user defaults, kept in a file as one JSON object keyed by the settings' names, which
// the user may edit by hand. Each write rewrites the file at once from what it holds then, so that an
// edit made since it was last read is not lost. A file that cannot be used (its syntax, a setting's
// value of the wrong type, or the system refusing it) is never overwritten: until it is mended, reads
// give the values last read from it (none when it never could be read) and writes are kept in memory. Keys
// the program does not know are kept in the file as they are. Read and written from any thread.
class SettingsFile final : public platform::DefaultsStore {
public:
    // Hears of every new problem with the file, and of each key the program does not know, once; on the
    // thread that came upon it, outside the file's lock.
    using Reporter = std::function<void(const std::string&)>;

    // Reads the file; a missing file holds no settings yet.
    SettingsFile(std::filesystem::path path, SettingsSchema schema, Reporter reporter);
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // $XDG_CONFIG_HOME/veltrane/settings.json, or ~/.config/veltrane/settings.json without it.
    static std::filesystem::path defaultPath();

    const std::filesystem::path& path() const { return path_; }
    const SettingsSchema& schema() const { return schema_; }

    // Reads the file again, for changes made by others: the keys whose values changed, were added or were
    // removed, in order. Nothing changes while the file cannot be used.
    std::vector<std::string> reload();
    // What keeps the file from being used or written, if anything: "path:line:column: what is wrong".
    std::optional<std::string> problem() const;
    // A setting this platform decides: it reads as given whatever the file holds, and writing it
    // changes nothing but the file.
    void fix(const std::string& key, platform::DefaultsValue value);
    // A setting's value as the file writes it, or nothing when it is not set.
    std::optional<std::string> fileText(const std::string& key) const;
    // Runs the work, in which the settings take on the values reload() gave: what it writes from this
    // thread is dropped. The file holds those values already, and writing them back would race the
    // editor that changed it, undoing a save of its that lands meanwhile.
    void adopt(const std::function<void()>& work);

private:
    std::optional<platform::DefaultsValue> value(const std::string& key) const override;
    void store(const std::string& key, platform::DefaultsValue value) override;
    void erase(const std::string& key) override;

    // The helpers below run with the mutex held.
    void write(const std::string& key, const std::optional<platform::DefaultsValue>& value);
    platform::DefaultsDomain load();
    void readFile(const std::function<void(SettingsDocument&)>& use);
    void warnOfUnknownKeys(const SettingsDocument& document);
    void setProblem(const std::optional<std::string>& problem);

    // Outside the mutex, so that a reporter may use the file.
    void deliverReports();
    // With the mutex held.
    bool adopting() const { return adopting_ == std::this_thread::get_id(); }

    const std::filesystem::path path_;
    const SettingsSchema schema_;
    const Reporter reporter_;

    mutable std::mutex mutex_;
    platform::DefaultsDomain values_;
    platform::DefaultsDomain fixed_;
    std::optional<std::string> problem_;
    std::set<std::string, std::less<>> warnedKeys_;
    std::vector<std::string> unreported_;
    std::optional<std::thread::id> adopting_;
};

}  // namespace veltrane::linuxbackend
