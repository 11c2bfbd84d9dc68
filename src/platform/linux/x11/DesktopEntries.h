#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// The applications installed on the desktop, as their desktop entries describe them: what puts an
// identifier and a name on the program behind a window. The folders are read once, on first use;
// safe to use from any thread.
class DesktopEntries {
public:
    struct Entry {
        std::string id;    // the desktop file id, as "org.example.Editor"
        std::string name;  // the unlocalised Name

        bool operator==(const Entry&) const = default;
    };

    // The user's applications folder, then the system's, as XDG_DATA_HOME and XDG_DATA_DIRS name them.
    static std::vector<std::filesystem::path> defaultFolders();

    // Searched recursively; for one desktop file id, the entry in the earliest folder counts, and
    // a Hidden one there removes the application. An entry whose id or Name is no printable text
    // names no application.
    explicit DesktopEntries(std::vector<std::filesystem::path> folders = defaultFolders());

    // The application of a window of that WM_CLASS: the entry whose StartupWMClass is the class or
    // the instance, else the one whose id, or the id's last dotted part, is either, ignoring case.
    std::optional<Entry> forWindowClass(const std::string& instance, const std::string& windowClass) const;
    // The application whose Exec starts a program of that executable's file name.
    std::optional<Entry> forExecutable(const std::filesystem::path& executable) const;

private:
    struct Application {
        Entry entry;
        std::string startupWMClass;
        std::string program;
    };

    static std::vector<Application> load(const std::vector<std::filesystem::path>& folders);
    const std::vector<Application>& applications() const;
    std::optional<Entry> find(const std::function<bool(const Application&)>& matches) const;

    std::vector<std::filesystem::path> folders_;
    mutable std::once_flag loaded_;
    mutable std::vector<Application> applications_;
};

}  // namespace veltrane::linuxbackend
