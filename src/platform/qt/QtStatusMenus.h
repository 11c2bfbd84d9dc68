#pragma once

#include "platform/ApplicationDelegate.h"
#include "platform/MenuItems.h"
#include "platform/StatusBar.h"

#include <QMenu>

#include <map>
#include <string>

class QAction;

namespace veltrane::qtshell {

// The tray item's two menus, the main one and the reduced one shown before the input devices may
// be used. Each item sends its command to the application, which sets the items' titles and check
// marks, by outlet name, as a menu opens. Lives on the thread of the Qt event loop.
class QtStatusMenus final : public platform::MenuItems {
public:
    QtStatusMenus();
    QtStatusMenus(const QtStatusMenus&) = delete;
    QtStatusMenus& operator=(const QtStatusMenus&) = delete;

    // Until there is one, the items do nothing.
    void setDelegate(platform::ApplicationDelegate* delegate) { delegate_ = delegate; }
    QMenu& menu(platform::StatusMenu which);

    void setTitle(const std::string& outlet, const std::string& title) override;
    void setState(const std::string& outlet, bool on) override;
    void setHidden(const std::string& outlet, bool hidden) override;

private:
    void buildMain();
    void buildUnauthorized();
    QAction* add(QMenu& menu, const char* title, platform::MenuAction action);
    void addCheck(QMenu& menu, const char* title, platform::MenuAction action, const char* outlet);
    QAction* outlet(const std::string& name) const;

    QMenu main_;
    QMenu unauthorized_;
    std::map<std::string, QAction*, std::less<>> outlets_;
    platform::ApplicationDelegate* delegate_ = nullptr;
};

}  // namespace veltrane::qtshell
