#include "app/StatusItem.h"

namespace veltrane {

void StatusItem::refresh()
{
    if (!nsStatusItem_) {
        nsStatusItem_ = platform_.statusBar.createItem();
        if (statusMenu_) {
            nsStatusItem_->setMenu(*statusMenu_);
        }
        nsStatusItem_->setImage(kImage);
    }
    nsStatusItem_->setVisible(!defaults_.hideMenuBarIcon().enabled());
}

void StatusItem::openMenu()
{
    if (!nsStatusItem_) {
        return;
    }
    nsStatusItem_->setVisible(true);
    platform_.dispatch.mainQueue().asyncAfter(kMenuDelay, [this] {
        nsStatusItem_->performClick();
        platform_.dispatch.mainQueue().asyncAfter(
            kMenuDelay, [this] { nsStatusItem_->setVisible(!defaults_.hideMenuBarIcon().enabled()); });
    });
}

void StatusItem::showHyper(bool held)
{
    auto show = [this, image = held ? kAltImage : kImage] {
        if (nsStatusItem_) {
            nsStatusItem_->setImage(image);
        }
    };
    platform::Queue& main = platform_.dispatch.mainQueue();
    if (main.isCurrent()) {
        show();
    } else {
        main.async(show);
    }
}

void StatusItem::setMenu(platform::StatusMenu menu)
{
    statusMenu_ = menu;
    if (nsStatusItem_) {
        nsStatusItem_->setMenu(menu);
    }
}

}  // namespace veltrane
