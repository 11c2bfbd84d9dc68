#pragma once

#include <filesystem>
#include <string>

namespace veltrane::linuxbackend {

// Programs the desktop starts when the user logs in: desktop entries in the user's XDG autostart
// folder. Turning one off writes it hidden instead of deleting it, because a hidden user entry also
// overrides a system-wide entry of the same name, which deleting would let through again.
class XdgAutostart {
public:
    // $XDG_CONFIG_HOME/autostart, or ~/.config/autostart; empty when neither is known.
    static std::filesystem::path userFolder();

    XdgAutostart(std::filesystem::path folder, std::string executable);

    // Writes the entry ID.desktop that starts the executable, shown or hidden. False, with
    // nothing half written, when there is no folder or it cannot be written.
    bool setEnabled(const std::string& id, bool enabled) const;
    // Whether the entry is there and not hidden: what the desktop will do at the next login.
    bool enabled(const std::string& id) const;

private:
    std::filesystem::path entry(const std::string& id) const;

    std::filesystem::path folder_;
    std::string executable_;
};

}  // namespace veltrane::linuxbackend
