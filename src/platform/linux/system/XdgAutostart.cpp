#include "platform/linux/system/XdgAutostart.h"

#include <cstdlib>
#include <fstream>

namespace veltrane::linuxbackend {

namespace {

std::filesystem::path environmentFolder(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] == '/' ? std::filesystem::path(value) : std::filesystem::path();
}

// The program as the Exec key wants it: quoted when it holds a space or a reserved character, with
// the quoting's own characters escaped, and every backslash escaped once more for the file.
std::string execValue(const std::string& program)
{
    if (program.find_first_of(" \t\n\"'\\><~|&;$*?#()`%=") == std::string::npos) {
        return program;
    }
    std::string quoted = "\"";
    for (const char c : program) {
        if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
        } else if (c == '\\') {
            quoted += "\\\\\\";
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::filesystem::path XdgAutostart::userFolder()
{
    const auto config = environmentFolder("XDG_CONFIG_HOME");
    if (!config.empty()) {
        return config / "autostart";
    }
    const auto home = environmentFolder("HOME");
    return home.empty() ? home : home / ".config" / "autostart";
}

XdgAutostart::XdgAutostart(std::filesystem::path folder, std::string executable)
    : folder_(std::move(folder)), executable_(std::move(executable))
{
}

bool XdgAutostart::setEnabled(const std::string& id, bool enabled) const
{
    if (folder_.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    const auto path = entry(id);
    auto temporary = path;
    temporary += ".new";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << "[Desktop Entry]\nType=Application\nName=Veltrane\nComment=Caps lock as a hyper key\n"
             << "Exec=" << execValue(executable_) << "\nTerminal=false\n"
             << "Hidden=" << (enabled ? "false" : "true") << "\n";
        if (!file.flush()) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    // A reader sees the old entry or the new one, never a part.
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool XdgAutostart::enabled(const std::string& id) const
{
    std::ifstream file(entry(id));
    if (!file) {
        return false;
    }
    bool inEntry = false;
    bool hidden = false;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
        } else if (inEntry && line.starts_with("Hidden=")) {
            hidden = line == "Hidden=true";
        }
    }
    return !hidden;
}

std::filesystem::path XdgAutostart::entry(const std::string& id) const
{
    return folder_ / (id + ".desktop");
}

}  // namespace veltrane::linuxbackend
