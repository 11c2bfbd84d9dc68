#include "platform/qt/QtStatusBarItem.h"

#include "platform/qt/QtStatusMenus.h"
#include "platform/qt/StatusIcons.h"

#include <QCursor>
#include <QMenu>

namespace veltrane::qtshell {

QtStatusBarItem::QtStatusBarItem(QtStatusMenus& menus) : menus_(menus)
{
    icon_.setToolTip("Veltrane");
    QObject::connect(&icon_, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            performClick();
        }
    });
}

void QtStatusBarItem::setMenu(platform::StatusMenu menu)
{
    icon_.setContextMenu(&menus_.menu(menu));
}

void QtStatusBarItem::setVisible(bool visible)
{
    icon_.setVisible(visible);
}

void QtStatusBarItem::setImage(const std::string& name)
{
    icon_.setIcon(StatusIcons::icon(name));
}

void QtStatusBarItem::performClick()
{
    QMenu* menu = icon_.contextMenu();
    if (menu == nullptr) {
        return;
    }
    // Under the item where the tray says where it is, else where the pointer is.
    const QRect item = icon_.geometry();
    menu->popup(item.isValid() ? item.bottomLeft() : QCursor::pos());
}

}  // namespace veltrane::qtshell
