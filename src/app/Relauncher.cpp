#include "app/Relauncher.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace veltrane {

namespace {

constexpr platform::OperatingSystemVersion kHelperSystem{10, 15, 0};
constexpr double kDefaultDelay = 1.0;

// "5.0" for 5, "2.5" for 2.5: a decimal number the shell's sleep takes.
std::string decimal(double seconds)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, seconds).ptr;
    std::string result(text, end);
    if (result.find_first_of(".e") == std::string::npos) {
        result += ".0";
    }
    return result;
}

// Whole seconds as the helper's argument; the delay is known to fit.
std::string wholeSeconds(double seconds)
{
    return std::to_string(static_cast<std::int64_t>(seconds));
}

}  // namespace

Relauncher::Relauncher(const platform::Platform& platform, Defaults& defaults)
    : platform_(platform), defaults_(defaults)
{
}

Relauncher::~Relauncher()
{
    if (pongObserver_) {
        platform_.distributedNotificationCenter.removeObserver(*pongObserver_);
    }
}

double Relauncher::delayAfterWake()
{
    const auto stored = static_cast<double>(defaults_.restartOnWakeDelay().value());
    // An infinite or enormous stored delay would never bring the application back, and cannot
    // be passed on as whole seconds: it counts as no delay chosen.
    const bool usable =
        std::isfinite(stored) && stored < static_cast<double>(std::numeric_limits<std::int64_t>::max());
    return usable && stored > 0.0 ? stored : kDefaultDelay;
}

std::string Relauncher::ownIdentifier() const
{
    return platform_.bundle.bundleIdentifier().value_or("");
}

void Relauncher::relaunch(double delay)
{
    const bool helperWanted = !defaults_.helperRelaunch().isOff();
    if (platform_.system.operatingSystemVersion() >= kHelperSystem && helperWanted) {
        relaunchThroughHelper(delay);
    } else {
        relaunchThroughShell(delay);
    }
}

void Relauncher::relaunchThroughHelper(double delay)
{
    postTerminateLauncher();
    const std::string helper = platform_.bundle.bundlePath() + kHelperPath;
    if (!pongObserver_) {
        pongObserver_ = platform_.distributedNotificationCenter.observe(
            kPong, ownIdentifier(), [this](const std::optional<std::string>&) { receivePong(); });
    }
    platform_.systemLog.write(platform::SystemLogLevel::info,
                              "com-marrowind-Veltrane Launching Veltrane launcher");
    terminateOnHelperPong_ = true;
    platform_.workspace.openApplication(
        helper, {"relaunch", wholeSeconds(delay)}, [this](const std::optional<std::string>& error) {
            if (error) {
                platform_.systemLog.write(platform::SystemLogLevel::error,
                                          "com-marrowind-Veltrane Unable to open helper app for relaunch: " +
                                              *error);
                terminateOnHelperPong_ = false;
            } else {
                platform_.systemLog.write(platform::SystemLogLevel::info,
                                          "com-marrowind-Veltrane Successfully launched Veltrane launcher");
            }
        });
}

void Relauncher::relaunchThroughShell(double delay)
{
    const std::string command =
        "sleep " + decimal(delay) + "; open \"" + platform_.bundle.bundlePath() + "\"";
    platform_.system.launchTask("/bin/sh", {"-c", command});
    terminate();
}

void Relauncher::receivePong()
{
    if (!terminateOnHelperPong_) {
        return;
    }
    platform_.systemLog.write(platform::SystemLogLevel::info,
                              "com-marrowind-Veltrane Received terminate message from helper");
    terminate();
}

void Relauncher::terminateRunningHelper()
{
    const auto running = platform_.workspace.runningApplications();
    const bool helperRunning = std::any_of(running.begin(), running.end(), [](const auto& application) {
        return application.bundleIdentifier == kHelperIdentifier;
    });
    if (helperRunning) {
        postTerminateLauncher();
    }
}

void Relauncher::postTerminateLauncher()
{
    platform_.distributedNotificationCenter.post(kTerminateLauncher, ownIdentifier());
}

void Relauncher::terminate()
{
    // The main queue's sync runs at once when the caller is already on it.
    platform_.dispatch.mainQueue().sync([this] { platform_.system.terminate(); });
}

}  // namespace veltrane
