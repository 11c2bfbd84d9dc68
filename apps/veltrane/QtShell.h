#pragma once

#include "Shell.h"
#include "platform/linux/headless/HeadlessBindings.h"
#include "platform/linux/headless/HeadlessWindows.h"
#include "platform/qt/QtAlerts.h"
#include "platform/qt/QtMainQueue.h"
#include "platform/qt/QtStatusBar.h"
#include "platform/qt/QtStatusMenus.h"

#include <QApplication>

namespace veltrane {

// The graphical shell: the Qt application, whose event loop is the main queue, the tray item with
// its menus, the alerts and the log window. Made on the main thread, where a display is.
class QtShell final : public Shell {
public:
    QtShell();
    ~QtShell() override;
    QtShell(const QtShell&) = delete;
    QtShell& operator=(const QtShell&) = delete;

    // Whether this session has a display for the shell to show on.
    static bool displayAvailable();

    platform::Queue& mainQueue() override { return queue_; }
    Ports ports() override { return {alerts_, statusBar_, menus_, windows_, bindings_}; }
    void setDelegate(platform::ApplicationDelegate* delegate) override { menus_.setDelegate(delegate); }
    void run() override;
    void quit() override;

private:
    QApplication application_;
    qtshell::QtMainQueue queue_;
    qtshell::QtAlerts alerts_;
    qtshell::QtStatusMenus menus_;
    qtshell::QtStatusBar statusBar_{menus_};
    linuxbackend::HeadlessWindows windows_;
    linuxbackend::HeadlessBindings bindings_;
};

}  // namespace veltrane
