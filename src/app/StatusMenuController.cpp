#include "app/StatusMenuController.h"

#include "app/LogLevel.h"
#include "logging/Logging.h"

namespace veltrane {

namespace {

using platform::MenuAction;

constexpr float kRelaunchDelay = 5.0f;

}  // namespace

StatusMenuController::StatusMenuController(const platform::Platform& platform, SharedInstances& shared,
                                           AccessibilityAuthorization& accessibilityAuthorization,
                                           Relauncher& relauncher, TouchViewer* viewer)
    : platform_(platform), shared_(shared), defaults_(shared.defaults()),
      accessibilityAuthorization_(accessibilityAuthorization), relauncher_(relauncher), viewer_(viewer)
{
}

void StatusMenuController::menuAction(MenuAction action, bool senderIsOn)
{
    switch (action) {
    case MenuAction::openPreferences:
        return openPreferences();
    case MenuAction::showAbout:
        return showWindow(aboutWindowController_, kAboutWindow);
    case MenuAction::ignoreFrontMostApp:
        return ignoreFrontMostApp(senderIsOn);
    case MenuAction::authorizeAccessibility:
        return accessibilityAuthorization_.bringWindowForward();
    case MenuAction::checkForUpdates:
        if (auto* updater = platform_.system.softwareUpdater()) {
            updater->checkForUpdates();
        }
        return;
    case MenuAction::showViewer:
        return showViewer();
    case MenuAction::showLogging:
        return logging::Logging::showLogWindows();
    case MenuAction::launchViewerOnStart:
        return defaults_.launchViewerOnStart().setEnabled(!defaults_.launchViewerOnStart().enabled());
    case MenuAction::launchLoggerOnStart:
        return defaults_.launchLoggerOnStart().setEnabled(!defaults_.launchLoggerOnStart().enabled());
    case MenuAction::toggleRelaunchDelay:
        return defaults_.restartOnWakeDelay().setValue(
            defaults_.restartOnWakeDelay().value() == 0.0f ? kRelaunchDelay : 0.0f);
    case MenuAction::synthesizeCapsLockRemap:
        toggle(defaults_.listenerRemap());
        return shared_.applyKeyMapping();
    case MenuAction::toggleLogToFile:
        return toggleLogToFile();
    case MenuAction::toggleLogDebugMessages:
        return toggleLogDebugMessages();
    case MenuAction::quit:
        return relauncher_.terminate();
    }
}

void StatusMenuController::toggle(OptionalBoolDefault& setting)
{
    setting.setEnabled(!setting.isOn());
}

void StatusMenuController::openPreferences()
{
    showWindow(prefsWindowController_, kPreferencesWindow);
}

void StatusMenuController::showWindow(std::shared_ptr<platform::Window>& window, const char* identifier)
{
    if (!window) {
        window = platform_.windows.makeWindow(identifier);
    }
    platform_.windows.activateApplication();
    if (window) {
        window->show();
        window->makeKey();
    }
}

void StatusMenuController::ignoreFrontMostApp(bool senderIsOn)
{
    auto* applicationToggle = shared_.applicationToggle();
    if (applicationToggle == nullptr) {
        return;
    }
    // The switch announces the change, and the application brings the key mapping in line.
    if (senderIsOn) {
        applicationToggle->enableCurrentApplication();
    } else {
        applicationToggle->disableCurrentApplication();
    }
}

void StatusMenuController::showViewer()
{
    if (!viewerExplained_) {
        viewerExplained_ = true;
        platform_.alerts.showAlert(
            "Touch Viewer",
            "Viewing windows will be displayed for each device when touches are detected on that device",
            "OK");
    }
    if (viewer_ == nullptr) {
        return;
    }
    // Once the user has closed the last window the viewer is off, and this command is the only
    // way to have it back.
    if (viewer_->isShowing()) {
        viewer_->resetClosedViewers();
    } else {
        viewer_->switchOn();
    }
}

void StatusMenuController::toggleLogToFile()
{
    toggle(defaults_.logToFile());
    if (defaults_.logToFile().isOn()) {
        logging::Logging::addDefaultFileDestination(logLevel(defaults_));
    } else {
        logging::Logging::removeFileDestinations();
    }
}

void StatusMenuController::toggleLogDebugMessages()
{
    toggle(defaults_.logDebug());
    logging::Logging::setMinLevelEverywhere(logLevel(defaults_));
}

void StatusMenuController::menuWillOpen(const std::optional<std::string>& menuIdentifier)
{
    if (menuIdentifier == kViewerMenu) {
        updateViewerMenu();
    } else {
        updateIgnoreItem();
    }
}

void StatusMenuController::updateViewerMenu()
{
    auto& items = platform_.menuItems;
    items.setState("launchViewerOnStartItem", defaults_.launchViewerOnStart().enabled());
    items.setState("launchLoggerOnStartItem", defaults_.launchLoggerOnStart().enabled());
    items.setState("delayRelaunchItem", defaults_.restartOnWakeDelay().value() > 0.0f);
    items.setState("synthesizeRemapItem", defaults_.listenerRemap().isOn());
    items.setState("logDebugItem", defaults_.logDebug().isOn());
    items.setState("logToFileItem", defaults_.logToFile().isOn());
}

void StatusMenuController::updateIgnoreItem()
{
    const auto* applicationToggle = shared_.applicationToggle();
    if (applicationToggle == nullptr) {
        return;
    }
    const auto& name = applicationToggle->frontAppName();
    if (!name) {
        platform_.menuItems.setHidden("ignoreMenuItem", true);
        return;
    }
    std::string title = platform_.bundle.localizedString("Hc4-Pm-7tu.title", "Main", "Ignore frontmost.app");
    const std::string placeholder = "frontmost.app";
    for (auto at = title.find(placeholder); at != std::string::npos;
         at = title.find(placeholder, at + name->size())) {
        title.replace(at, placeholder.size(), *name);
    }
    platform_.menuItems.setTitle("ignoreMenuItem", title);
    platform_.menuItems.setState("ignoreMenuItem", applicationToggle->disabledForApp());
    platform_.menuItems.setHidden("ignoreMenuItem", false);
}

}  // namespace veltrane
