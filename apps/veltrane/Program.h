#pragma once

#include "DesktopWatchers.h"
#include "LinuxPorts.h"
#include "SettingsReload.h"
#include "Shell.h"
#include "app/AppDelegate.h"
#include "app/LoginItem.h"
#include "app/PreferenceActions.h"
#include "logging/ConsoleDestination.h"
#include "logging/Level.h"
#include "platform/linux/settings/SettingsFileWatcher.h"
#include "platform/linux/system/RunningInstance.h"
#include "platform/linux/system/TerminationSignals.h"

#include <memory>
#include <string>

namespace veltrane {

// The running program: the application on the Linux ports, its main queue on the calling thread
// (the graphical shell's event loop where there is a display and it is wanted), the settings file
// followed while it runs, and an orderly stop on SIGINT and SIGTERM.
class Program {
public:
    Program(const std::string& settingsPath, bool headless);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Returns the exit status: 0 after a stop by signal or when another instance runs (which is
    // told it was started again), 1 without the permission to use the devices and no shell.
    int run();

private:
    void setUpLogging(bool logToFile, logging::Level minLevel);
    bool claimInstance();
    bool startInput();
    // Whether the program may use the input devices now, starting them when it may.
    bool inputTrusted();
    void launch();
    void withoutTray(bool firstStart);
    void stop(int signal);
    // After the main queue has stopped: keys released, devices let go, the application gone.
    void finish();
    [[noreturn]] void terminate(int status);
    void settingsFileChanged();

    // First: the threads made after it leave the two signals to the reactor.
    linuxbackend::TerminationSignals signals_;
    std::shared_ptr<logging::ConsoleDestination> terminal_;
    std::shared_ptr<logging::ConsoleDestination> journal_;
    std::unique_ptr<Shell> shell_;
    LinuxPorts ports_;
    std::unique_ptr<DesktopWatchers> desktop_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<PreferenceActions> actions_;
    std::unique_ptr<LoginItem> loginItem_;
    std::unique_ptr<SettingsReload> reload_;
    std::unique_ptr<linuxbackend::SettingsFileWatcher> watcher_;
    bool inputStarted_ = false;
    std::unique_ptr<linuxbackend::RunningInstance> instance_;
};

}  // namespace veltrane
