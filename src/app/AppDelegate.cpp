#include "app/AppDelegate.h"

#include "app/LogLevel.h"
#include "app/SystemPrefsUtil.h"
#include "core/Notifications.h"
#include "logging/Log.h"
#include "logging/Logging.h"
#include "touch/GestureEventRouter.h"

namespace veltrane {

namespace {

// The hyper key listener starts this long after the event processor exists.
constexpr double kListenerStartDelay = 0.4;
// A sleep longer than this gives the keyboards more time after wake.
constexpr double kLongSleepSeconds = 3600.0;
constexpr double kLongSleepExtraDelay = 3.0;
// The event tap waits at most this long: a queue drops a task due further off than its clock
// reaches, and the hyper key would never work.
constexpr std::int64_t kLongestListenerDelay = 24 * 60 * 60;
// The slide down from the top edge, for users of the slide gesture before gestures were chosen.
constexpr std::int64_t kTopSlideGesture = 16;

double listenerDelay(std::int64_t setting)
{
    if (setting <= kLongestListenerDelay) {
        return static_cast<double>(setting);
    }
    LOGGING_WARNING("touchListenerDelay is " + std::to_string(setting) +
                    " s, longer than a day: the event tap starts after a day");
    return static_cast<double>(kLongestListenerDelay);
}

void applicationLogging(bool logToFile, logging::Level minLevel)
{
    logging::Logging::zorvDefaults(logToFile, minLevel);
}

}  // namespace

AppDelegate::AppDelegate(const platform::Platform& platform, std::unique_ptr<SharedInstances> shared,
                         ApplicationOptions options)
    : platform_(platform), options_(std::move(options)), shared_(std::move(shared)),
      defaults_(shared_->defaults()), hyperFlags_(shared_->hyperFlags()), keyPresser_(shared_->keyPresser()),
      statusItem_(shared_->statusItem()), hidRemap_(shared_->hidRemap()),
      keyboardHID_(shared_->keyboardHID()), accessibilityAuthorization_(platform),
      relauncher_(platform, defaults_), loginItem_(platform),
      menuController_(platform, *shared_, accessibilityAuthorization_, relauncher_, options_.viewer)
{
    if (!options_.loggingSetup) {
        options_.loggingSetup = applicationLogging;
    }
}

AppDelegate::~AppDelegate()
{
    shared_->setApplicationToggle(nullptr);
    for (const auto token : workspaceObservers_) {
        platform_.workspace.removeObserver(token);
    }
    for (const auto& observer : {frontmostObserver_, deviceListenerObserver_}) {
        if (observer) {
            platform_.notificationCenter.removeObserver(*observer);
        }
    }
}

void AppDelegate::applicationDidFinishLaunching()
{
    statusItem_.refresh();
    options_.loggingSetup(defaults_.logToFile().isOn(), logLevel(defaults_));
    checkVersion();
    loginItem_.setLaunchOnLogin(defaults_.launchOnLogin().enabled());
    relauncher_.terminateRunningHelper();
    const bool trusted = accessibilityAuthorization_.checkAuthorization([this] {
        menuController_.openPreferences();
        statusItem_.setMenu(platform::StatusMenu::main);
        startEngine();
    });
    if (trusted) {
        startEngine();
        statusItem_.setMenu(platform::StatusMenu::main);
    } else {
        statusItem_.setMenu(platform::StatusMenu::unauthorized);
    }
    observeWorkspace();
    if (auto* updater = platform_.system.softwareUpdater()) {
        updater->setAutomaticallyChecksForUpdates(
            platform_.userDefaults.boolForKey("SUEnableAutomaticChecks"));
    }
    deviceListenerObserver_ = platform_.notificationCenter.observe(
        Notifications::kStartDeviceListener, [this](const std::any&) { startDeviceListener(); });
}

void AppDelegate::applicationWillTerminate()
{
    hidRemap_.resetAll();
}

bool AppDelegate::applicationShouldHandleReopen(bool)
{
    if (defaults_.relaunchOpensMenu().enabled()) {
        statusItem_.openMenu();
    } else {
        menuController_.openPreferences();
    }
    return true;
}

void AppDelegate::menuWillOpen(const std::optional<std::string>& menuIdentifier)
{
    menuController_.menuWillOpen(menuIdentifier);
}

void AppDelegate::menuAction(platform::MenuAction action, bool senderIsOn)
{
    menuController_.menuAction(action, senderIsOn);
}

void AppDelegate::checkVersion()
{
    if (!defaults_.lastVersion().value()) {
        if (defaults_.oneSwipeFromTop().isOn()) {
            defaults_.gestures().setValue(kTopSlideGesture);
        }
        if (!platform_.userDefaults.boolForKey("SUHasLaunchedBefore")) {
            applyCompanionDefaults();
        }
    }
    defaults_.lastVersion().setValue(platform_.bundle.infoString("CFBundleVersion"));
}

void AppDelegate::applyCompanionDefaults()
{
    if (platform_.workspace.urlForApplication("com.marrowind.Dravenly")) {
        defaults_.applyToMove().setEnabled(true);
    }
    if (platform_.workspace.urlForApplication("com.marrowind.Pellicor")) {
        defaults_.applyToMove().setEnabled(true);
        defaults_.applyToDrag().setEnabled(true);
    }
}

void AppDelegate::observeWorkspace()
{
    using platform::WorkspaceNotification;
    auto& workspace = platform_.workspace;
    workspaceObservers_.push_back(
        workspace.observe(WorkspaceNotification::didWake, [this](const auto&) { receiveWakeNote(); }));
    workspaceObservers_.push_back(workspace.observe(
        WorkspaceNotification::willSleep, [this](const auto&) { lastSleepDate_ = platform_.clock.now(); }));
    workspaceObservers_.push_back(workspace.observe(WorkspaceNotification::sessionDidBecomeActive,
                                                    [this](const auto&) { receiveSessionActiveNote(); }));
}

void AppDelegate::startEngine()
{
    if (defaults_.launchLoggerOnStart().enabled()) {
        logging::Logging::showLogWindows();
    }
    applicationToggle_ = std::make_unique<ApplicationToggle>(platform_, defaults_);
    shared_->setApplicationToggle(applicationToggle_.get());
    mainEventTap_ =
        std::make_unique<MainEventTap>(platform_, defaults_, hyperFlags_, gestureHandler(),
                                       [this] { SystemPrefsUtil::openAccessibilityPane(platform_); });
    platform_.dispatch.mainQueue().asyncAfter(kListenerStartDelay, [this] { keyboardHID_.refresh(false); });
    applyKeyMapping();
    const std::int64_t delay = defaults_.touchListenerDelay().value();
    if (delay < 1) {
        startListeners();
    } else {
        platform_.dispatch.mainQueue().asyncAfter(listenerDelay(delay), [this] { startListeners(); });
    }
    if (defaults_.launchViewerOnStart().enabled() && options_.viewer != nullptr) {
        options_.viewer->switchOn();
    }
    frontmostObserver_ = platform_.notificationCenter.observe(
        Notifications::kFrontmostAppToggle, [this](const std::any&) { frontmostAppToggle(); });
}

void AppDelegate::startListeners()
{
    if (mainEventTap_) {
        mainEventTap_->createTap(mainEventTap_->currentEventMask());
    }
    if (defaults_.usePrivateFramework().enabled()) {
        startDeviceListener();
    }
}

void AppDelegate::startDeviceListener()
{
    if (deviceListener_) {
        return;
    }
    auto disabledForApp = [this] {
        const ApplicationToggle* toggle = shared_->applicationToggle();
        return toggle != nullptr && toggle->disabledForApp();
    };
    deviceListener_ = std::make_unique<DeviceListener>(
        platform_, defaults_,
        MTTrackpadRegistrar::Consumers{touchEventHandler(), disabledForApp, options_.viewer});
}

TouchEventHandler AppDelegate::touchEventHandler()
{
    if (!recognizer_) {
        recognizer_ =
            std::make_unique<OneDrawRecognizer>(platform_, defaults_, hyperFlags_, keyPresser_, statusItem_);
    }
    return [recognizer = recognizer_.get(), monitor = options_.touchMonitor](const TouchEvent& event) {
        if (monitor) {
            monitor(event);
        }
        recognizer->recognize(event);
    };
}

HyperCGEventProcessor::GestureHandler AppDelegate::gestureHandler()
{
    auto router = std::make_shared<GestureEventRouter>(touchEventHandler(), options_.viewer);
    return [router](const platform::Event& gestureEvent) { router->route(gestureEvent); };
}

void AppDelegate::applyKeyMapping()
{
    shared_->applyKeyMapping();
}

void AppDelegate::frontmostAppToggle()
{
    if (applicationToggle_->disabledForApp()) {
        hidRemap_.resetAll();
    } else if (hidRemap_.isEmpty()) {
        applyKeyMapping();
    }
}

void AppDelegate::receiveWakeNote()
{
    if (defaults_.autoRestartOnWake().isOn()) {
        relauncher_.relaunch(relauncher_.delayAfterWake());
    } else if (defaults_.restartKeyListenOnWake().isOn()) {
        keyboardHID_.refresh(true);
    }
    const std::int64_t setting = defaults_.wakeKeyboardDelay().value();
    if (setting < 0) {
        return;
    }
    // In seconds as the queue takes them, where the extra time cannot overflow.
    auto delay = static_cast<double>(setting);
    if (lastSleepDate_ && platform_.clock.now() - *lastSleepDate_ > kLongSleepSeconds) {
        delay += kLongSleepExtraDelay;
    }
    platform_.dispatch.mainQueue().asyncAfter(delay, [this] { applyKeyMapping(); });
}

void AppDelegate::receiveSessionActiveNote()
{
    if (defaults_.autoRestartOnSessionActive().isOff()) {
        return;
    }
    platform_.systemLog.write(platform::SystemLogLevel::info, "com-marrowind-Veltrane sessionActive");
    relauncher_.relaunch(relauncher_.delayAfterWake());
}

}  // namespace veltrane
