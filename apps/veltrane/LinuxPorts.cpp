#include "LinuxPorts.h"

#include "SettingsReload.h"

#include "logging/BundleInfo.h"

#include <filesystem>

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

// Beside the program in the build folder, else where it is installed.
std::string commandFolder()
{
    const auto beside = executable().parent_path() / "commands";
    return std::filesystem::exists(beside / "open") ? beside.string() : VELTRANE_COMMANDS;
}

linuxbackend::LinuxBundle::Info bundleInfo()
{
    return {.identifier = info("CFBundleIdentifier"),
            .name = info("CFBundleName"),
            .shortVersion = VELTRANE_VERSION,
            .buildNumber = info("CFBundleVersion"),
            .path = executable().parent_path().string(),
            .copyright = "Copyright © 2026 The Veltrane developers"};
}

}  // namespace

LinuxPorts::LinuxPorts(const std::string& settingsPath, Shell& shell, Hooks hooks)
    : dispatch_(shell.mainQueue(), {"hidQueue"}), distributed_(dispatch_.mainQueue()),
      settings_(settingsPath, SettingsReload::schema(), hooks.log), poster_(modifiers_),
      workspace_(dispatch_.mainQueue(),
                 [this](const std::string& program, const std::vector<std::string>& arguments) {
                     system_.launchTask(program, arguments);
                 }),
      system_({hooks.trusted, hooks.terminate, hooks.exit},
              linuxbackend::XdgAutostart(linuxbackend::XdgAutostart::userFolder(), executable().string()),
              commandFolder()),
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
                                       monitors_,
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
      input_({hid_, taps_, modifiers_, poster_, dispatch_.mainQueue()}, hooks.log)
{
}

}  // namespace veltrane
