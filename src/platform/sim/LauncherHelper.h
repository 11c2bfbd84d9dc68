#pragma once

#include "platform/Workspace.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::sim {

class Desktop;
class SimProcess;

// The launcher helper that ships inside the application's bundle, playing its part of the
// relaunch protocol: opened with "relaunch N" it answers with the pong at once and starts the
// application again N seconds after the process that opened it has exited, then quits. It quits
// on the terminate notification too.
class LauncherHelper {
public:
    static constexpr const char* kBundleIdentifier = "com.marrowind.VeltraneLauncher";
    static constexpr const char* kName = "VeltraneLauncher";
    static constexpr const char* kPath =
        "/Applications/Veltrane.app/Contents/Library/LoginItems/VeltraneLauncher.app";

    explicit LauncherHelper(Desktop& desktop) : desktop_(desktop) {}

    bool running() const { return running_; }
    // The helper is running already, as after a login.
    void start() { running_ = true; }
    // A process of the application opens the helper; the completion runs on its main queue.
    void open(SimProcess& opener, const std::vector<std::string>& arguments,
              const platform::Workspace::OpenCompletion& completion);
    // A distributed notification reaches the helper.
    void hear(const std::string& name, const std::optional<std::string>& object);
    void processExited(const SimProcess& process);

private:
    void quit();

    Desktop& desktop_;
    bool running_ = false;
    // The process whose exit starts the relaunch, and how long after it.
    const SimProcess* awaited_ = nullptr;
    std::int64_t relaunchDelay_ = 0;
    // Counts the helper's quits, so that a relaunch planned before a quit is dropped.
    std::uint64_t quits_ = 0;
};

}  // namespace veltrane::sim
