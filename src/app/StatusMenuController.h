#pragma once

#include "app/AccessibilityAuthorization.h"
#include "app/Relauncher.h"
#include "app/SharedInstances.h"
#include "platform/ApplicationDelegate.h"
#include "platform/Platform.h"
#include "touch/TouchViewer.h"

#include <memory>
#include <optional>
#include <string>

namespace veltrane {

// What the status menus do: every menu command, and the items' titles and check marks, set
// each time a menu opens.
class StatusMenuController {
public:
    static constexpr const char* kViewerMenu = "ViewerMenu";
    static constexpr const char* kPreferencesWindow = "PrefsWindowController";
    static constexpr const char* kAboutWindow = "AboutWindowController";

    // The viewer may be null: a shell without windows has none, and its menu command only explains.
    // The per-application switch exists once the engine runs; until then its item does nothing.
    StatusMenuController(const platform::Platform& platform, SharedInstances& shared,
                         AccessibilityAuthorization& accessibilityAuthorization, Relauncher& relauncher,
                         TouchViewer* viewer);

    void menuAction(platform::MenuAction action, bool senderIsOn);
    void menuWillOpen(const std::optional<std::string>& menuIdentifier);
    void openPreferences();

private:
    void showWindow(std::shared_ptr<platform::Window>& window, const char* identifier);
    void ignoreFrontMostApp(bool senderIsOn);
    void showViewer();
    void toggleLogToFile();
    void toggleLogDebugMessages();
    void updateViewerMenu();
    void updateIgnoreItem();
    static void toggle(OptionalBoolDefault& setting);

    const platform::Platform& platform_;
    SharedInstances& shared_;
    Defaults& defaults_;
    AccessibilityAuthorization& accessibilityAuthorization_;
    Relauncher& relauncher_;
    TouchViewer* viewer_;
    std::shared_ptr<platform::Window> prefsWindowController_;
    std::shared_ptr<platform::Window> aboutWindowController_;
    bool viewerExplained_ = false;
};

}  // namespace veltrane
