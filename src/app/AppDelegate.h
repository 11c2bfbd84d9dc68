#pragma once

#include "app/AccessibilityAuthorization.h"
#include "app/ApplicationToggle.h"
#include "app/LoginItem.h"
#include "app/Relauncher.h"
#include "app/StatusItem.h"
#include "app/StatusMenuController.h"
#include "core/Defaults.h"
#include "core/HyperFlags.h"
#include "core/KeyPresser.h"
#include "core/MainEventTap.h"
#include "keyboard/HidRemap.h"
#include "keyboard/KeyboardHID.h"
#include "logging/Level.h"
#include "platform/ApplicationDelegate.h"
#include "platform/Platform.h"
#include "touch/DeviceListener.h"
#include "touch/OneDrawRecognizer.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace veltrane {

// The application: owns the long-lived objects, starts the engine in order once the
// accessibility permission is there, follows sleep, wake and session changes, and hands the
// menus to the objects that decide.
class AppDelegate : public platform::ApplicationDelegate {
public:
    // Sets the logging library up for this run; the default is the application's own preset.
    using LoggingSetup = std::function<void(bool logToFile, logging::Level minLevel)>;

    // touchMonitor, when given, sees every touch event just before the slide recognizer does.
    explicit AppDelegate(const platform::Platform& platform, LoggingSetup loggingSetup = {},
                         TouchEventHandler touchMonitor = {});
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching() override;
    void applicationWillTerminate() override;
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    void menuWillOpen(const std::optional<std::string>& menuIdentifier) override;
    void menuAction(platform::MenuAction action, bool senderIsOn) override;

private:
    void checkVersion();
    void applyCompanionDefaults();
    void observeWorkspace();
    void startEngine();
    void startListeners();
    void startDeviceListener();
    // The one slide recognizer, made on first use, behind the touch monitor.
    TouchEventHandler touchEventHandler();
    void applyKeyMapping();
    void frontmostAppToggle();
    void receiveWakeNote();
    void receiveSessionActiveNote();

    const platform::Platform& platform_;
    LoggingSetup loggingSetup_;
    TouchEventHandler touchMonitor_;
    Defaults defaults_;
    HyperFlags hyperFlags_;
    KeyPresser keyPresser_;
    StatusItem statusItem_;
    HidRemap hidRemap_;
    KeyboardHID keyboardHID_;
    AccessibilityAuthorization accessibilityAuthorization_;
    Relauncher relauncher_;
    LoginItem loginItem_;
    StatusMenuController menuController_;
    std::unique_ptr<ApplicationToggle> applicationToggle_;
    // The same switch for the frame handler, which reads it on the framework's thread.
    std::atomic<const ApplicationToggle*> sharedToggle_{nullptr};
    std::unique_ptr<OneDrawRecognizer> recognizer_;
    std::unique_ptr<MainEventTap> mainEventTap_;
    std::unique_ptr<DeviceListener> deviceListener_;
    std::optional<double> lastSleepDate_;
    std::vector<platform::Workspace::Token> workspaceObservers_;
    std::optional<platform::NotificationCenter::Token> frontmostObserver_;
    std::optional<platform::NotificationCenter::Token> deviceListenerObserver_;
};

}  // namespace veltrane
