#pragma once

#include "platform/StatusBar.h"

#include <QSystemTrayIcon>

namespace veltrane::qtshell {

class QtStatusMenus;

// The application's item in the desktop's tray (a StatusNotifierItem or the older XEmbed tray,
// whichever the desktop offers). A click of either button opens its menu.
class QtStatusBarItem final : public platform::StatusBarItem {
public:
    explicit QtStatusBarItem(QtStatusMenus& menus);

    void setMenu(platform::StatusMenu menu) override;
    void setVisible(bool visible) override;
    void setImage(const std::string& name) override;
    void performClick() override;

private:
    QtStatusMenus& menus_;
    QSystemTrayIcon icon_;
};

}  // namespace veltrane::qtshell
