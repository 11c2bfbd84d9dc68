#pragma once

#include "app/AccessibilityAuthorization.h"
#include "app/ApplicationOptions.h"
#include "app/ApplicationToggle.h"
#include "app/LoginItem.h"
#include "app/Relauncher.h"
#include "app/SharedInstances.h"
#include "app/StatusMenuController.h"
#include "core/MainEventTap.h"
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
    // Made by makeApplication, which builds the shared instances first.
    AppDelegate(const platform::Platform& platform, std::unique_ptr<SharedInstances> shared,
                ApplicationOptions options);
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching() override;
    void applicationWillTerminate() override;
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    void menuWillOpen(const std::optional<std::string>& menuIdentifier) override;
    void menuAction(platform::MenuAction action, bool senderIsOn) override;

    // For the windows that change settings and bring the engine in line, as the preferences do.
    SharedInstances& sharedInstances() { return *shared_; }

private:
    void checkVersion();
    void applyCompanionDefaults();
    void observeWorkspace();
    void startEngine();
    void startListeners();
    void startDeviceListener();
    // The one slide recognizer, made on first use, behind the touch monitor.
    TouchEventHandler touchEventHandler();
    // The event tap's gesture events, through the event-tap tracker, to the recognizer and the viewer.
    HyperCGEventProcessor::GestureHandler gestureHandler();
    void applyKeyMapping();
    void frontmostAppToggle();
    void receiveWakeNote();
    void receiveSessionActiveNote();

    const platform::Platform& platform_;
    ApplicationOptions options_;
    std::unique_ptr<SharedInstances> shared_;
    Defaults& defaults_;
    HyperFlags& hyperFlags_;
    KeyPresser& keyPresser_;
    StatusItem& statusItem_;
    HidRemap& hidRemap_;
    KeyboardHID& keyboardHID_;
    AccessibilityAuthorization accessibilityAuthorization_;
    Relauncher relauncher_;
    LoginItem loginItem_;
    StatusMenuController menuController_;
    std::unique_ptr<ApplicationToggle> applicationToggle_;
    std::unique_ptr<OneDrawRecognizer> recognizer_;
    std::unique_ptr<MainEventTap> mainEventTap_;
    std::unique_ptr<DeviceListener> deviceListener_;
    std::optional<double> lastSleepDate_;
    std::vector<platform::Workspace::Token> workspaceObservers_;
    std::optional<platform::NotificationCenter::Token> frontmostObserver_;
    std::optional<platform::NotificationCenter::Token> deviceListenerObserver_;
};

}  // namespace veltrane
