#include "Program.h"

#include "HeadlessShell.h"
#include "PermissionAdvice.h"
#include "QtShell.h"
#include "app/CompositionRoot.h"
#include "logging/Log.h"

#include <unistd.h>

#include <csignal>
#include <iostream>
#include <system_error>

namespace veltrane {

namespace {

void logLine(const std::string& line)
{
    LOGGING_INFO(line);
}

void debugLine(const std::string& line)
{
    LOGGING_DEBUG(line);
}

std::unique_ptr<Shell> makeShell(bool headless)
{
    if (!headless && QtShell::displayAvailable()) {
        return std::make_unique<QtShell>(logLine);
    }
    return std::make_unique<HeadlessShell>(logLine);
}

}  // namespace

Program::Program(const std::string& settingsPath, bool headless)
    : terminal_(std::make_shared<logging::ConsoleDestination>()), shell_(makeShell(headless)),
      ports_(settingsPath, *shell_,
             {.log = logLine,
              .debug = debugLine,
              .trusted = [this] { return inputTrusted(); },
              .terminate = [this] { terminate(0); },
              .exit = [this](int status) { terminate(status); }})
{
    logging::Logging::setSystemLog(&ports_.systemLog());
    journal_ = std::make_shared<logging::ConsoleDestination>(&ports_.systemLog());
    journal_->useMacConsole = true;
    setUpLogging(false, logging::Level::info);
}

Program::~Program()
{
    logging::Logging::flush();
    logging::Logging::unregisterAll();
    logging::Logging::setSystemLog(nullptr);
}

int Program::run()
{
    if (!claimInstance()) {
        return 0;
    }
    inputStarted_ = startInput();
    // Without the devices, only a window can tell a person what to do; the application polls
    // until they are open to it.
    if (!inputStarted_ && !shell_->graphical()) {
        return 1;
    }
    launch();
    const auto signals =
        linuxbackend::TerminationSignals::watch(shell_->reactor(), [this](int signal) { stop(signal); });
    shell_->run();
    finish();
    return 0;
}

void Program::setUpLogging(bool logToFile, logging::Level minLevel)
{
    logging::Logging::zorvDefaults(logToFile, minLevel);
    terminal_->minLevel = minLevel;
    terminal_->setUseTerminalColors(::isatty(STDOUT_FILENO) != 0);
    journal_->minLevel = minLevel;
    logging::Logging::registerDestination(terminal_);
    logging::Logging::registerDestination(journal_);
}

bool Program::claimInstance()
{
    try {
        instance_ = linuxbackend::RunningInstance::claim(
            linuxbackend::RunningInstance::defaultPath(), shell_->reactor(), [this] {
                if (delegate_) {
                    delegate_->applicationShouldHandleReopen(false);
                }
            });
    } catch (const std::system_error& error) {
        LOGGING_WARNING(std::string("Cannot make sure that Veltrane runs once: ") + error.what());
        return true;
    }
    if (!instance_) {
        std::cout << "Veltrane is running already.\n";
    }
    return instance_ != nullptr;
}

bool Program::inputTrusted()
{
    if (!inputStarted_ && !linuxbackend::InputLoop::permissionProblem()) {
        inputStarted_ = startInput();
    }
    return inputStarted_;
}

bool Program::startInput()
{
    try {
        ports_.input().start();
    } catch (const std::system_error& error) {
        std::cerr << PermissionAdvice::text(error.what());
        return false;
    }
    if (!ports_.input().permitted()) {
        ports_.input().stop();
        std::cerr << PermissionAdvice::text("some input devices cannot be read");
        return false;
    }
    return true;
}

// Without a tray nothing would show that Veltrane runs: the first start opens the preferences, which
// say how to open them again.
void Program::withoutTray(bool firstStart)
{
    LOGGING_INFO("This desktop shows no tray, so Veltrane has no tray item: start veltrane again, or Veltrane "
                 "from the applications menu, to open its preferences");
    if (firstStart) {
        delegate_->applicationShouldHandleReopen(false);
    }
}

void Program::launch()
{
    auto& workspace = ports_.workspace();
    desktop_ = std::make_unique<DesktopWatchers>(
        shell_->reactor(),
        DesktopWatchers::Sinks{
            .activated =
                [&workspace](const auto& application) { workspace.applicationActivated(application); },
            .announce = [&workspace](auto notification) { workspace.announce(notification); },
            .log = logLine});
    delegate_ = makeApplication(
        ports_.platform(),
        {.loggingSetup = [this](bool logToFile, logging::Level level) { setUpLogging(logToFile, level); },
         .viewer = shell_->viewer(ports_.systemLog())});
    actions_ = std::make_unique<PreferenceActions>(ports_.platform(), delegate_->sharedInstances());
    loginItem_ = std::make_unique<LoginItem>(ports_.platform());
    const Shell::Application application{ports_.platform(), *delegate_, delegate_->sharedInstances(),
                                         *actions_, *loginItem_};
    shell_->attach(&application);
    reload_ = std::make_unique<SettingsReload>(delegate_->sharedInstances().defaults(), ports_.settings(),
                                               *actions_);
    watcher_ = std::make_unique<linuxbackend::SettingsFileWatcher>(
        ports_.settings().path(), shell_->reactor(), [this] { settingsFileChanged(); });
    const bool firstStart = !delegate_->sharedInstances().defaults().lastVersion().value();
    ports_.mainQueue().async([this] { delegate_->applicationDidFinishLaunching(); });
    if (shell_->graphical() && !shell_->trayAvailable()) {
        ports_.mainQueue().async([this, firstStart] { withoutTray(firstStart); });
    }
    for (const auto& line : desktop_->describe(ports_.distributed())) {
        LOGGING_INFO(line);
    }
}

// The signal may come while a window runs a loop of its own (an alert, say) for code of the
// application still under way: the application goes only once every loop has returned.
void Program::stop(int signal)
{
    LOGGING_INFO(std::string("Stopping on ") + (signal == SIGINT ? "SIGINT" : "SIGTERM"));
    shell_->quit();
}

void Program::finish()
{
    delegate_->applicationWillTerminate();
    desktop_.reset();
    ports_.input().stop();
    shell_->attach(nullptr);
    watcher_.reset();
    delegate_.reset();
}

void Program::terminate(int status)
{
    // Called on the main queue, maybe from a tap while it runs the key road, which an orderly stop
    // would wait for: the kernel lets go of the devices and releases the virtual keyboard's keys as
    // the process ends.
    if (status == 0 && delegate_) {
        delegate_->applicationWillTerminate();
    }
    logging::Logging::flush();
    std::_Exit(status);
}

void Program::settingsFileChanged()
{
    reload_->apply(ports_.settings().reload());
    shell_->settingsChanged();
}

}  // namespace veltrane
