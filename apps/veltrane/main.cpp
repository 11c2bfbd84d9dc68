#include "CommandLine.h"
#include "DesktopWatchers.h"
#include "Program.h"
#include "SettingsReload.h"
#include "app/Relauncher.h"
#include "logging/BundleInfo.h"
#include "platform/linux/devices/DeviceReport.h"
#include "platform/linux/reactor/ReactorLoop.h"
#include "platform/linux/settings/SettingsCommand.h"
#include "platform/linux/settings/SettingsFile.h"
#include "platform/linux/system/XdgAutostart.h"

#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

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

// The application in front, by the name the lists of applications take, once the display server has
// said (a compositor answers its first questions within a few round trips).
void frontmost(veltrane::linuxbackend::Reactor& reactor,
               const std::optional<veltrane::platform::RunningApplication>& application)
{
    const auto settle = reactor.after("status", std::chrono::milliseconds(300), [&reactor] { reactor.stop(); });
    reactor.run();
    if (application && application->bundleIdentifier) {
        std::cout << "In front: " << *application->bundleIdentifier
                  << " (veltrane config add disabledApps " << *application->bundleIdentifier
                  << " makes Veltrane stand aside in it)\n";
    } else {
        std::cout << "In front: no application Veltrane can tell\n";
    }
}

int status()
{
    veltrane::linuxbackend::Reactor reactor([](const std::string&) {});
    std::optional<veltrane::platform::RunningApplication> front;
    const veltrane::DesktopWatchers desktop(
        reactor, {.activated = [&front](const auto& application) { front = application; },
                  .announce = [](auto) {},
                  .log = [](const std::string&) {}});
    veltrane::linuxbackend::ReactorLoop loop(reactor);
    const veltrane::linuxbackend::BusDistributedNotificationCenter bus(reactor, loop);
    for (const auto& line : desktop.describe(bus)) {
        std::cout << line << "\n";
    }
    if (desktop.knowsFrontmost()) {
        frontmost(reactor, front);
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
        std::cout << "Veltrane " VELTRANE_VERSION " (build "
                  << logging::BundleInfo::string("CFBundleVersion").value_or("unknown") << ")\n";
        return 0;
    }
    if (first == "--help" || first == "-h") {
        std::cout << veltrane::CommandLine::usage();
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
        std::string command;
        for (const auto& argument : arguments) {
            command += (command.empty() ? "" : " ") + argument;
        }
        std::cerr << "veltrane: no such command: " << command << "\n" << veltrane::CommandLine::usage();
        return 2;
    }
    return veltrane::Program(settingsPath(), first == "--headless").run();
}
