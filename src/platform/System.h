#pragma once

#include "platform/SoftwareUpdater.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::platform {

struct OperatingSystemVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;

    auto operator<=>(const OperatingSystemVersion&) const = default;
};

// What the user is told when the engine may not have the input it needs: what is missing and
// how it is granted, in the platform's own words.
struct PermissionHelp {
    // The hyper key listener's alert when it may not open the keyboards.
    std::string listenerAlertText;
    // The event tap's alert before the program ends without a tap.
    std::string tapAlertText;
    // The page of the system settings where the permission is granted, where there is one.
    std::optional<std::string> settingsPage;
};

// What the process asks of the operating system about itself.
class System {
public:
    virtual ~System() = default;

    // Whether the user has granted the process the accessibility permission.
    virtual bool isProcessTrusted() const = 0;
    virtual PermissionHelp permissionHelp() const = 0;
    virtual OperatingSystemVersion operatingSystemVersion() const = 0;
    // Registers or removes the helper of that identifier as a login item; false when it failed.
    virtual bool setLoginItemEnabled(const std::string& bundleIdentifier, bool enabled) = 0;
    // Starts a program in a process of its own and does not wait for it.
    virtual void launchTask(const std::string& launchPath, const std::vector<std::string>& arguments) = 0;
    // The "model" property of the platform expert device (the machine's model name, as bytes), or
    // nothing when the property is missing or is not data.
    virtual std::optional<std::vector<std::uint8_t>> platformExpertModel() const = 0;
    // One level-change pulse of the trackpad's haptic feedback, now.
    virtual void performHapticFeedback() = 0;
    // Whether a pulse can be felt at all: the preferences offer haptic feedback only then.
    virtual bool hasHapticFeedback() const = 0;
    // The updater the application ships, or nothing.
    virtual SoftwareUpdater* softwareUpdater() = 0;
    // The application terminates normally: its delegate hears of it, then the process ends with
    // status 0. Called on the main queue; nothing after the call runs.
    [[noreturn]] virtual void terminate() = 0;
    // Ends the process at once with that status; nothing after the call runs.
    [[noreturn]] virtual void exit(int status) = 0;
};

}  // namespace veltrane::platform
