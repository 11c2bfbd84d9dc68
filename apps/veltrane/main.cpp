#include "DesktopWatchers.h"
#include "Program.h"
#include "SettingsReload.h"
#include "app/Relauncher.h"
#include "platform/linux/devices/DeviceReport.h"
#include "platform/linux/reactor/ReactorLoop.h"
#include "platform/linux/settings/SettingsCommand.h"
#include "platform/linux/settings/SettingsFile.h"
#include "platform/linux/system/XdgAutostart.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: veltrane [--headless]            run the hyper key\n"
    "       veltrane config list | get KEY | set KEY VALUE | unset KEY\n"
    "       veltrane devices                 the input devices and what Veltrane does with them\n"
    "       veltrane status                  what Veltrane learns from this desktop session\n"
    "       veltrane --version\n";

std::string settingsPath()
{
    return veltrane::linuxbackend::SettingsFile::defaultPath().string();
}

// The user's settings file, read by a command that reports its problems itself.
veltrane::linuxbackend::SettingsFile settingsFile()
{
    return {settingsPath(), veltrane::SettingsReload::schema(), [](const std::string&) {}};
}

int config(const std::vector<std::string>& arguments)
{
    auto file = settingsFile();
    return veltrane::linuxbackend::SettingsCommand(file, std::cout, std::cerr).run(arguments);
}

int status()
{
    veltrane::linuxbackend::Reactor reactor([](const std::string&) {});
    const veltrane::DesktopWatchers desktop(
        reactor,
        {.activated = [](const auto&) {}, .announce = [](auto) {}, .log = [](const std::string&) {}});
    veltrane::linuxbackend::ReactorLoop loop(reactor);
    const veltrane::linuxbackend::BusDistributedNotificationCenter bus(reactor, loop);
    for (const auto& line : desktop.describe(bus)) {
        std::cout << line << "\n";
    }
    const auto settings = settingsFile();
    if (const auto problem = settings.problem()) {
        std::cout << "The settings file cannot be used (" << *problem
                  << "): Veltrane keeps the values it last read until it is fixed\n";
    } else {
        std::cout << "The settings come from " << settings.path().string() << "\n";
    }
    const auto folder = veltrane::linuxbackend::XdgAutostart::userFolder();
    const bool atLogin =
        veltrane::linuxbackend::XdgAutostart(folder, "").enabled(veltrane::Relauncher::kHelperIdentifier);
    std::cout << "Start at login is " << (atLogin ? "on" : "off") << " (autostart folder: "
              << (folder.empty() ? "none, neither XDG_CONFIG_HOME nor HOME is set" : folder.string())
              << ")\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string first = arguments.empty() ? "" : arguments.front();
    if (first == "--version") {
        std::cout << "Veltrane " VELTRANE_VERSION "\n";
        return 0;
    }
    if (first == "--help" || first == "-h") {
        std::cout << kUsage;
        return 0;
    }
    if (first == "config") {
        return config({arguments.begin() + 1, arguments.end()});
    }
    if (first == "status" && arguments.size() == 1) {
        return status();
    }
    if (first == "devices" && arguments.size() == 1) {
        return veltrane::linuxbackend::DeviceReport::write(std::cout);
    }
    if (!arguments.empty() && !(first == "--headless" && arguments.size() == 1)) {
        std::cerr << kUsage;
        return 2;
    }
    return veltrane::Program(settingsPath(), first == "--headless").run();
}
