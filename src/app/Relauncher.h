#pragma once

#include "core/Defaults.h"
#include "platform/Platform.h"

#include <optional>

namespace veltrane {

// Starts the application afresh: through the launcher helper, which answers with a pong before
// the application terminates and starts it again after the delay, or, on older systems or when
// the helper is not wanted, through a shell that sleeps and opens the bundle again.
class Relauncher {
public:
    static constexpr const char* kHelperIdentifier = "com.marrowind.VeltraneLauncher";
    // Where the helper sits in the application's bundle.
    static constexpr const char* kHelperPath = "/Contents/Library/LoginItems/VeltraneLauncher.app";
    static constexpr const char* kPong = "com.marrowind.Veltrane.pong";
    static constexpr const char* kTerminateLauncher = "com.marrowind.Veltrane.terminateLauncher";

    Relauncher(const platform::Platform& platform, Defaults& defaults);
    ~Relauncher();
    Relauncher(const Relauncher&) = delete;
    Relauncher& operator=(const Relauncher&) = delete;

    // The delay of a relaunch after wake or session activation: the setting when positive, else 1 s.
    double delayAfterWake();
    void relaunch(double delay);
    // Tells a helper that is still running (from login, or an earlier relaunch) to quit.
    void terminateRunningHelper();
    // Terminates through the platform, so that the delegate hears of it.
    void terminate();

private:
    std::string ownIdentifier() const;
    void relaunchThroughHelper(double delay);
    void relaunchThroughShell(double delay);
    void receivePong();
    void postTerminateLauncher();

    const platform::Platform& platform_;
    Defaults& defaults_;
    bool terminateOnHelperPong_ = false;
    std::optional<platform::DistributedNotificationCenter::Token> pongObserver_;
};

}  // namespace veltrane
