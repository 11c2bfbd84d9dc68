#pragma once

#include "app/AccessibilityAuthorization.h"
#include "app/StatusItem.h"
#include "core/Defaults.h"
#include "core/HyperFlags.h"
#include "core/KeyPresser.h"
#include "core/MainEventTap.h"
#include "keyboard/HidRemap.h"
#include "keyboard/KeyboardHID.h"
#include "logging/Level.h"
#include "platform/ApplicationDelegate.h"
#include "platform/Platform.h"

#include <functional>
#include <memory>

namespace veltrane {

// The application: owns the long-lived objects and starts the engine, in order, once the
// accessibility permission is there.
class AppDelegate : public platform::ApplicationDelegate {
public:
    // Sets the logging library up for this run; the default is the application's own preset.
    using LoggingSetup = std::function<void(bool logToFile, logging::Level minLevel)>;

    explicit AppDelegate(const platform::Platform& platform, LoggingSetup loggingSetup = {});

    void applicationDidFinishLaunching() override;
    void applicationWillTerminate() override;

private:
    void startEngine();
    void startListeners();

    const platform::Platform& platform_;
    LoggingSetup loggingSetup_;
    Defaults defaults_;
    HyperFlags hyperFlags_;
    KeyPresser keyPresser_;
    StatusItem statusItem_;
    HidRemap hidRemap_;
    KeyboardHID keyboardHID_;
    AccessibilityAuthorization accessibilityAuthorization_;
    std::unique_ptr<MainEventTap> mainEventTap_;
};

}  // namespace veltrane
