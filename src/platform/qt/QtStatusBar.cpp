#include "platform/qt/QtStatusBar.h"

#include "platform/qt/QtStatusBarItem.h"

namespace veltrane::qtshell {

std::shared_ptr<platform::StatusBarItem> QtStatusBar::createItem()
{
    return std::make_shared<QtStatusBarItem>(menus_);
}

}  // namespace veltrane::qtshell
