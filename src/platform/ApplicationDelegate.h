#pragma once

#include <optional>
#include <string>

namespace veltrane::platform {

// The commands of the status menus, by the actions the menu items send.
enum class MenuAction {
    openPreferences,
    showAbout,
    ignoreFrontMostApp,
    authorizeAccessibility,
    checkForUpdates,
    showViewer,
    showLogging,
    launchViewerOnStart,
    launchLoggerOnStart,
    toggleRelaunchDelay,
    synthesizeCapsLockRemap,
    toggleLogToFile,
    toggleLogDebugMessages,
    quit,
};

// The application side of the process's life and of its menus: the platform calls these on the
// main queue.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual void applicationDidFinishLaunching() = 0;
    virtual void applicationWillTerminate() = 0;
    // The user launched the running application again; true when the application handled it.
    virtual bool applicationShouldHandleReopen(bool hasVisibleWindows) = 0;
    // A status menu is about to open: the main menu (no identifier) or a submenu ("ViewerMenu").
    virtual void menuWillOpen(const std::optional<std::string>& menuIdentifier) = 0;
    // A menu item was chosen; senderIsOn is the item's check state when it was chosen.
    virtual void menuAction(MenuAction action, bool senderIsOn) = 0;
};

}  // namespace veltrane::platform
