#include "app/AppDelegate.h"

#include "keyboard/KeyRemap.h"
#include "logging/Logging.h"

namespace veltrane {

namespace {

// The hyper key listener starts this long after the event processor exists.
constexpr double kListenerStartDelay = 0.4;

void applicationLogging(bool logToFile, logging::Level minLevel)
{
    logging::Logging::zorvDefaults(logToFile, minLevel);
}

}  // namespace

AppDelegate::AppDelegate(const platform::Platform& platform, LoggingSetup loggingSetup)
    : platform_(platform), loggingSetup_(loggingSetup ? std::move(loggingSetup) : applicationLogging),
      defaults_(platform.userDefaults), hyperFlags_(defaults_), keyPresser_(platform.eventPoster),
      statusItem_(platform), hidRemap_(platform, defaults_),
      keyboardHID_(platform, defaults_, hyperFlags_, keyPresser_, hidRemap_, statusItem_),
      accessibilityAuthorization_(platform)
{
}

void AppDelegate::applicationDidFinishLaunching()
{
    loggingSetup_(defaults_.logToFile().isOn(),
                  defaults_.logDebug().isOn() ? logging::Level::debug : logging::Level::info);
    if (accessibilityAuthorization_.checkAuthorization([this] { startEngine(); })) {
        startEngine();
    }
}

void AppDelegate::applicationWillTerminate()
{
    hidRemap_.resetAll();
}

void AppDelegate::startEngine()
{
    mainEventTap_ = std::make_unique<MainEventTap>(platform_, defaults_, hyperFlags_);
    platform_.dispatch.mainQueue().asyncAfter(kListenerStartDelay, [this] { keyboardHID_.refresh(false); });
    KeyRemap::applyKeyMapping(hidRemap_, defaults_);
    const std::int64_t delay = defaults_.touchListenerDelay().value();
    if (delay < 1) {
        startListeners();
    } else {
        platform_.dispatch.mainQueue().asyncAfter(static_cast<double>(delay), [this] { startListeners(); });
    }
}

void AppDelegate::startListeners()
{
    if (mainEventTap_) {
        mainEventTap_->createTap(mainEventTap_->currentEventMask());
    }
}

}  // namespace veltrane
