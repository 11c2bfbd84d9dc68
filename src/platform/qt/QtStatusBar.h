#pragma once

#include "platform/StatusBar.h"

namespace veltrane::qtshell {

class QtStatusMenus;

// The desktop's tray, whose items show the shell's status menus.
class QtStatusBar final : public platform::StatusBar {
public:
    explicit QtStatusBar(QtStatusMenus& menus) : menus_(menus) {}

    std::shared_ptr<platform::StatusBarItem> createItem() override;

private:
    QtStatusMenus& menus_;
};

}  // namespace veltrane::qtshell
