#pragma once

#include "Shell.h"
#include "gui/preferences/PrefsViewController.h"
#include "gui/viewer/ViewerManager.h"
#include "platform/linux/headless/HeadlessBindings.h"
#include "platform/qt/QtAlerts.h"
#include "platform/qt/QtMainQueue.h"
#include "platform/qt/QtStatusBar.h"
#include "platform/qt/QtStatusMenus.h"
#include "platform/qt/QtWindows.h"

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <memory>

namespace veltrane {

// The graphical shell: the Qt application, whose event loop is the main queue and runs the reactor, the tray
// item with its menus, the alerts and the windows. Made on the main thread, where a display is.
class QtShell final : public Shell {
public:
    explicit QtShell(const std::function<void(const std::string&)>& log);
    ~QtShell() override;
    QtShell(const QtShell&) = delete;
    QtShell& operator=(const QtShell&) = delete;

    // Whether this session has a display for the shell to show on.
    static bool displayAvailable();

    bool graphical() const override { return true; }
    bool trayAvailable() const override;
    platform::Queue& mainQueue() override { return queue_; }
    linuxbackend::Reactor& reactor() override { return reactor_; }
    Ports ports() override { return {alerts_, statusBar_, menus_, windows_, bindings_}; }
    TouchViewer* viewer(platform::SystemLog& systemLog) override;
    void attach(const Application* application) override;
    void settingsChanged() override;
    void run() override;
    void quit() override;

private:
    void registerWindows(const Application& application);
    // The reactor runs inside Qt's event loop, called when its descriptor turns readable and before
    // the loop sleeps, which arms the timers it has.
    void embedReactor();

    QApplication application_;
    qtshell::QtMainQueue queue_;
    linuxbackend::Reactor reactor_;
    std::unique_ptr<QSocketNotifier> reactorNotifier_;
    qtshell::QtAlerts alerts_;
    qtshell::QtStatusMenus menus_;
    qtshell::QtStatusBar statusBar_{menus_};
    qtshell::QtWindows windows_;
    // The preferences controls are bound to nothing: the window reads the settings when it opens and
    // whenever the settings file changes.
    linuxbackend::HeadlessBindings bindings_;
    std::unique_ptr<gui::ViewerManager> viewer_;
    // The preferences window, while the application holds it.
    QPointer<gui::PrefsViewController> preferences_;
};

}  // namespace veltrane
