#pragma once

#include "platform/System.h"
#include "platform/linux/reactor/FileDescriptor.h"
#include "platform/linux/reactor/Reactor.h"
#include "platform/linux/system/XdgAutostart.h"

#include <sys/types.h>

#include <functional>
#include <map>

namespace veltrane::linuxbackend {

// What the program asks of Linux about itself. The program supplies what only it knows: whether
// it may use the input devices, and how it stops.
class LinuxSystem final : public platform::System {
public:
    struct Callbacks {
        // Whether the process may read the keyboards and write the virtual keyboard; it stands
        // for the accessibility permission.
        std::function<bool()> trusted;
        // The program's orderly stop, in which the application delegate hears of it; the process
        // then ends with status 0.
        std::function<void()> terminate;
        // What must still happen before the process ends at once with that status.
        std::function<void(int)> exit;
        // A line for the program's log at the debug level.
        std::function<void(const std::string&)> debug;
    };

    // Every callback is required. The help says how the input devices are opened to the user. The
    // login item is an entry of that autostart folder. The programs started find the commands of
    // that folder first on their PATH, and the reactor waits for them to end.
    LinuxSystem(Callbacks callbacks, platform::PermissionHelp help, XdgAutostart autostart, Reactor& reactor,
                std::string commands = "");

    bool isProcessTrusted() const override;
    platform::PermissionHelp permissionHelp() const override { return help_; }
    // The kernel's version.
    platform::OperatingSystemVersion operatingSystemVersion() const override;
    // An autostart entry of that identifier, which starts the program given to the autostart.
    bool setLoginItemEnabled(const std::string& bundleIdentifier, bool enabled) override;
    // Searches PATH when the path has no slash. The child's PATH has the program's commands first:
    // the relaunch's shell command runs "open", which on Linux is one of them. The child has the
    // default signal dispositions and mask and only the standard streams open; the reactor waits
    // for it so that no zombie stays. On the reactor's thread.
    // Nothing starts when it cannot be spawned, which the port has no way to report.
    void launchTask(const std::string& launchPath, const std::vector<std::string>& arguments) override;
    // The firmware's product name (DMI), without its line end.
    std::optional<std::vector<std::uint8_t>> platformExpertModel() const override;
    // No haptic device: the debug log says so.
    void performHapticFeedback() override;
    bool hasHapticFeedback() const override { return false; }
    platform::SoftwareUpdater* softwareUpdater() override { return nullptr; }
    [[noreturn]] void terminate() override;
    [[noreturn]] void exit(int status) override;

private:
    // A child started and not yet ended: the descriptor that turns readable when it ends.
    struct Child {
        FileDescriptor process;
        Reactor::Source ended;
    };

    void reapWhenDone(pid_t child);

    Callbacks callbacks_;
    platform::PermissionHelp help_;
    XdgAutostart autostart_;
    Reactor& reactor_;
    std::string commands_;
    std::map<pid_t, Child> children_;
};

}  // namespace veltrane::linuxbackend
