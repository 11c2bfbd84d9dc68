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

linuxbackend::LinuxBundle::Info bundleInfo()
{
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return {.identifier = info("CFBundleIdentifier"),
            .name = info("CFBundleName"),
            .shortVersion = VELTRANE_VERSION,
            .buildNumber = info("CFBundleVersion"),
            .path = executable.parent_path().string(),
            .copyright = "Copyright © 2026 The Veltrane developers"};
}

}  // namespace

LinuxPorts::LinuxPorts(const std::string& settingsPath, Shell& shell, Hooks hooks)
    : dispatch_(shell.mainQueue(), {"hidQueue"}), distributed_(dispatch_.mainQueue()),
      settings_(settingsPath, SettingsReload::schema(), hooks.log), poster_(modifiers_),
      workspace_(dispatch_.mainQueue()), system_({hooks.trusted, hooks.terminate, hooks.exit}),
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
