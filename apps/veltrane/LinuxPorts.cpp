#include "LinuxPorts.h"

#include "DisplayServer.h"
#include "PermissionAdvice.h"
#include "SettingsReload.h"

#include "app/Relauncher.h"
#include "platform/linux/system/NoEventMonitors.h"
#include "platform/linux/x11/X11EventMonitors.h"
#include "touch/DeviceListener.h"

#include "logging/BundleInfo.h"

#include <filesystem>
#include <stdexcept>

namespace veltrane {

namespace {

std::string info(const char* key)
{
    return logging::BundleInfo::string(key).value_or("");
}

std::filesystem::path executable()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

// The folder of the program stands for its bundle, in the build folder as where it is installed:
// the commands of its shell commands and the launcher helper are there, where the application
// expects them.
std::filesystem::path bundleFolder()
{
    return executable().parent_path();
}

// The helper is what the desktop starts at login: it brings the program up, and the program then
// tells it to go, as a relaunch does.
std::string launcherHelper()
{
    return bundleFolder().string() + Relauncher::kHelperPath;
}

std::vector<platform::RunningApplication> applicationsOn(const std::vector<std::string>& busNames)
{
    std::vector<platform::RunningApplication> applications;
    for (const auto& name : busNames) {
        applications.push_back({name, std::nullopt});
    }
    return applications;
}

linuxbackend::LinuxBundle::Info bundleInfo()
{
    return {.identifier = info("CFBundleIdentifier"),
            .name = info("CFBundleName"),
            .shortVersion = VELTRANE_VERSION,
            .buildNumber = info("CFBundleVersion"),
            .path = bundleFolder().string(),
            .copyright = "Copyright © 2026 The Veltrane developers"};
}

// The pointer's moves and clicks, and its warp, where the display server lets a program have them:
// under X11 only. Elsewhere a slide moves the pointer as it is drawn, which the log says once.
std::shared_ptr<platform::EventMonitors> eventMonitors(linuxbackend::Reactor& reactor,
                                                       linuxbackend::LinuxEventPoster& poster,
                                                       const std::function<void(const std::string&)>& log)
{
    const auto unheld = [&log](const std::string& why) {
        return std::make_shared<linuxbackend::NoEventMonitors>(
            log, "The pointer is not held still while a slide is drawn (" + why + ")");
    };
    switch (sessionDisplayServer()) {
    case DisplayServer::wayland:
        return unheld("Wayland lets no program move the pointer");
    case DisplayServer::none:
        return unheld(kNoDisplayServer);
    case DisplayServer::x11:
        break;
    }
    try {
        auto monitors = std::make_shared<linuxbackend::X11EventMonitors>(reactor, "");
        poster.onWarp([monitors](platform::Point position) { monitors->warp(position); });
        return monitors;
    } catch (const std::runtime_error& failure) {
        return unheld(failure.what());
    }
}

}  // namespace

LinuxPorts::LinuxPorts(const std::string& settingsPath, Shell& shell, Hooks hooks)
    : dispatch_(shell.mainQueue(), {"hidQueue", "KeyboardListener", DeviceListener::kDeviceQueueLabel,
                                    DeviceListener::kHidDevicesQueueLabel}),
      distributed_(shell.reactor(), dispatch_.mainQueue()),
      settings_(settingsPath, SettingsReload::schema(), hooks.log), poster_(modifiers_),
      monitors_(eventMonitors(shell.reactor(), poster_, hooks.log)),
      workspace_(
          dispatch_.mainQueue(),
          [this](const std::string& program, const std::vector<std::string>& arguments) {
              system_.launchTask(program, arguments);
          },
          [this] { return applicationsOn(distributed_.namesOnBus()); }),
      system_({hooks.trusted, hooks.terminate, hooks.exit, hooks.debug}, PermissionAdvice::help(),
              linuxbackend::XdgAutostart(linuxbackend::XdgAutostart::userFolder(), launcherHelper()),
              shell.reactor(), (bundleFolder() / "commands").string()),
      bundle_(bundleInfo()), platform_{clock_,
                                       dispatch_,
                                       notifications_,
                                       distributed_,
                                       settings_,
                                       hid_,
                                       hid_,
                                       modifiers_,
                                       taps_,
                                       poster_,
                                       *monitors_,
                                       multitouch_,
                                       workspace_,
                                       systemLog_,
                                       system_,
                                       shell.ports().alerts,
                                       shell.ports().statusBar,
                                       shell.ports().menuItems,
                                       shell.ports().windows,
                                       bundle_,
                                       shell.ports().bindings},
      input_({hid_, taps_, modifiers_, poster_, multitouch_, dispatch_.mainQueue(), shell.reactor()},
             hooks.log)
{
    // Touches come from the touchpads themselves: no stream of gesture events passes the event taps
    // on Linux for them to be read from.
    settings_.fix("usePrivateFramework", true);
}

}  // namespace veltrane
