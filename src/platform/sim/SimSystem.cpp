#include "platform/sim/SimSystem.h"

#include "platform/sim/CommandLine.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/DesktopLock.h"
#include "platform/sim/SimBundle.h"

#include <cmath>
#include <cstdlib>

namespace veltrane::sim {

namespace {

// How long the shell waits before it opens the application again: the S of
// sh -c 'sleep S; open "/Applications/Veltrane.app"', or nothing for any other command.
std::optional<double> reopenDelay(const std::string& launchPath, const std::vector<std::string>& arguments)
{
    const std::string prefix = "sleep ";
    const std::string suffix = std::string("; open \"") + SimBundle::kPath + "\"";
    if (launchPath != "/bin/sh" || arguments.size() != 2 || arguments[0] != "-c") {
        return std::nullopt;
    }
    const std::string& command = arguments[1];
    if (!command.starts_with(prefix) || !command.ends_with(suffix) ||
        command.size() <= prefix.size() + suffix.size()) {
        return std::nullopt;
    }
    const std::string seconds = command.substr(prefix.size(), command.size() - prefix.size() - suffix.size());
    char* end = nullptr;
    const double delay = std::strtod(seconds.c_str(), &end);
    if (end != seconds.c_str() + seconds.size() || !std::isfinite(delay)) {
        return std::nullopt;
    }
    return delay;
}

}  // namespace

// The system settings of a Mac grant the accessibility permission and input monitoring.
platform::PermissionHelp SimSystem::permissionHelp() const
{
    return {
        .listenerAlertText =
            "Make sure that Veltrane is checked in System Preferences -> Security & Privacy -> Privacy -> "
            "Accessibility.\n\n Additionally, either check or remove Veltrane in the Input Monitoring "
            "section under Accessibility.",
        .tapAlertText =
            "Veltrane is unable to listen to input from your devices.\n\n"
            "Try removing Veltrane from the list in System Preferences \u2192 Security & Privacy \u2192 "
            "Privacy \u2192 Accessibility.\n\n"
            "Then relaunch Veltrane and check the box in System Preferences again when prompted.\n\n"
            "Veltrane will now close and attempt to open System Preferences for you.",
        .settingsPage = "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"};
}

bool SimSystem::isProcessTrusted() const
{
    const std::lock_guard guard(desktop_.lock());
    return desktop_.trusted();
}

platform::OperatingSystemVersion SimSystem::operatingSystemVersion() const
{
    const std::lock_guard guard(desktop_.lock());
    return desktop_.operatingSystemVersion();
}

bool SimSystem::setLoginItemEnabled(const std::string& bundleIdentifier, bool enabled)
{
    const std::lock_guard guard(desktop_.lock());
    int& failures = desktop_.faults().loginItemFailures;
    const bool fails = failures > 0;
    if (fails) {
        --failures;
    }
    desktop_.transcript().record("loginitem",
                                 bundleIdentifier + (enabled ? " on" : " off") + (fails ? " failed" : ""));
    return !fails;
}

void SimSystem::launchTask(const std::string& launchPath, const std::vector<std::string>& arguments)
{
    const std::lock_guard guard(desktop_.lock());
    desktop_.transcript().record("shell", commandLine(launchPath, arguments));
    if (const auto delay = reopenDelay(launchPath, arguments)) {
        desktop_.queue().asyncAfter(*delay, [&desktop = desktop_] { desktop.openApplication(); });
    }
}

bool SimSystem::hasHapticFeedback() const
{
    const std::lock_guard guard(desktop_.lock());
    return desktop_.haptics();
}

std::optional<std::vector<std::uint8_t>> SimSystem::platformExpertModel() const
{
    const std::lock_guard guard(desktop_.lock());
    const auto& model = desktop_.model();
    if (!model) {
        return std::nullopt;
    }
    // The registry keeps the name as C string data, with its terminating zero.
    std::vector<std::uint8_t> data(model->begin(), model->end());
    data.push_back(0);
    return data;
}

void SimSystem::performHapticFeedback()
{
    desktop_.transcript().record("haptic", "");
}

platform::SoftwareUpdater* SimSystem::softwareUpdater()
{
    const std::lock_guard guard(desktop_.lock());
    return desktop_.softwareUpdater();
}

void SimSystem::terminate()
{
    process_.terminateNow();
}

void SimSystem::exit(int status)
{
    process_.exit(status);
}

}  // namespace veltrane::sim
