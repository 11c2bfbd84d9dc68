#include "platform/qt/QtStatusMenus.h"

#include <QAction>

namespace veltrane::qtshell {

namespace {

using platform::MenuAction;

// The submenu the application prepares apart from the main menu, by this identifier.
constexpr const char* kViewerMenu = "ViewerMenu";

}  // namespace

QtStatusMenus::QtStatusMenus()
{
    buildMain();
    buildUnauthorized();
}

QMenu& QtStatusMenus::menu(platform::StatusMenu which)
{
    return which == platform::StatusMenu::main ? main_ : unauthorized_;
}

void QtStatusMenus::buildMain()
{
    // Its title and presence are the application's, set as the menu opens.
    addCheck(main_, "Ignore frontmost.app", MenuAction::ignoreFrontMostApp, "ignoreMenuItem");
    main_.addSeparator();
    add(main_, "Preferences…", MenuAction::openPreferences);
    add(main_, "About Veltrane", MenuAction::showAbout);
    QMenu* debugging = main_.addMenu("Debugging");
    debugging->setObjectName(kViewerMenu);
    add(*debugging, "Show Touch Viewer", MenuAction::showViewer);
    add(*debugging, "Show Log", MenuAction::showLogging);
    debugging->addSeparator();
    addCheck(*debugging, "Open Touch Viewer at Start", MenuAction::launchViewerOnStart,
             "launchViewerOnStartItem");
    addCheck(*debugging, "Open Log at Start", MenuAction::launchLoggerOnStart, "launchLoggerOnStartItem");
    addCheck(*debugging, "Wait Before Restarting After Wake", MenuAction::toggleRelaunchDelay,
             "delayRelaunchItem");
    addCheck(*debugging, "Remap Caps Lock in Software", MenuAction::synthesizeCapsLockRemap,
             "synthesizeRemapItem");
    addCheck(*debugging, "Log to File", MenuAction::toggleLogToFile, "logToFileItem");
    addCheck(*debugging, "Log Debug Messages", MenuAction::toggleLogDebugMessages, "logDebugItem");
    main_.addSeparator();
    add(main_, "Quit Veltrane", MenuAction::quit);
    QObject::connect(&main_, &QMenu::aboutToShow, [this] {
        if (delegate_) {
            delegate_->menuWillOpen(std::nullopt);
        }
    });
    QObject::connect(debugging, &QMenu::aboutToShow, [this] {
        if (delegate_) {
            delegate_->menuWillOpen(kViewerMenu);
        }
    });
}

void QtStatusMenus::buildUnauthorized()
{
    add(unauthorized_, "Grant Access to Input Devices…", MenuAction::authorizeAccessibility);
    add(unauthorized_, "About Veltrane", MenuAction::showAbout);
    unauthorized_.addSeparator();
    add(unauthorized_, "Quit Veltrane", MenuAction::quit);
}

QAction* QtStatusMenus::add(QMenu& menu, const char* title, MenuAction action)
{
    QAction* item = menu.addAction(QString::fromUtf8(title));
    // Which command an item sends, for whoever looks at the menus from outside.
    item->setData(static_cast<int>(action));
    QObject::connect(item, &QAction::triggered, [this, item, action](bool checked) {
        if (delegate_) {
            // A check item has switched its mark already: the application wants the mark it had.
            delegate_->menuAction(action, item->isCheckable() && !checked);
        }
    });
    return item;
}

void QtStatusMenus::addCheck(QMenu& menu, const char* title, MenuAction action, const char* outlet)
{
    QAction* item = add(menu, title, action);
    item->setCheckable(true);
    outlets_.emplace(outlet, item);
}

QAction* QtStatusMenus::outlet(const std::string& name) const
{
    const auto found = outlets_.find(name);
    return found == outlets_.end() ? nullptr : found->second;
}

void QtStatusMenus::setTitle(const std::string& name, const std::string& title)
{
    if (QAction* item = outlet(name)) {
        // An ampersand in an application's name is shown, not taken for a shortcut's mark.
        item->setText(QString::fromStdString(title).replace('&', "&&"));
    }
}

void QtStatusMenus::setState(const std::string& name, bool on)
{
    if (QAction* item = outlet(name)) {
        item->setChecked(on);
    }
}

void QtStatusMenus::setHidden(const std::string& name, bool hidden)
{
    if (QAction* item = outlet(name)) {
        item->setVisible(!hidden);
    }
}

}  // namespace veltrane::qtshell
