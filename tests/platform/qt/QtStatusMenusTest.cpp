#include "platform/qt/QtStatusMenus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>

#include <algorithm>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::qtshell {
namespace {

using platform::MenuAction;
using platform::StatusMenu;
using ::testing::ElementsAre;
using ::testing::Pair;

class RecordingDelegate final : public platform::ApplicationDelegate {
public:
    void applicationDidFinishLaunching() override {}
    void applicationWillTerminate() override {}
    bool applicationShouldHandleReopen(bool) override { return false; }
    void menuWillOpen(const std::optional<std::string>& menu) override
    {
        opened.push_back(menu.value_or("main"));
    }
    void menuAction(MenuAction action, bool senderIsOn) override { actions.emplace_back(action, senderIsOn); }

    std::vector<std::string> opened;
    std::vector<std::pair<MenuAction, bool>> actions;
};

// Every item of a menu and its submenus, in order.
std::vector<QAction*> itemsOf(const QMenu& menu)
{
    std::vector<QAction*> items;
    for (QAction* item : menu.actions()) {
        if (item->menu() != nullptr) {
            const auto inner = itemsOf(*item->menu());
            items.insert(items.end(), inner.begin(), inner.end());
        } else if (!item->isSeparator()) {
            items.push_back(item);
        }
    }
    return items;
}

MenuAction commandOf(const QAction* item)
{
    return static_cast<MenuAction>(item->data().toInt());
}

std::vector<MenuAction> commandsOf(const QMenu& menu)
{
    std::vector<MenuAction> commands;
    std::ranges::transform(itemsOf(menu), std::back_inserter(commands), commandOf);
    return commands;
}

QAction& itemFor(QtStatusMenus& menus, MenuAction action)
{
    const auto items = itemsOf(menus.menu(StatusMenu::main));
    const auto found = std::ranges::find(items, action, commandOf);
    return found != items.end() ? **found : throw std::runtime_error("no item sends that command");
}

TEST(QtStatusMenusTest, TheMenusOfferTheirCommandsAndLinuxHasNoUpdater)
{
    QtStatusMenus menus;
    EXPECT_THAT(commandsOf(menus.menu(StatusMenu::unauthorized)),
                ElementsAre(MenuAction::authorizeAccessibility, MenuAction::showAbout, MenuAction::quit));
    EXPECT_THAT(commandsOf(menus.menu(StatusMenu::main)),
                ElementsAre(MenuAction::ignoreFrontMostApp, MenuAction::openPreferences,
                            MenuAction::showAbout, MenuAction::showViewer, MenuAction::showLogging,
                            MenuAction::launchViewerOnStart, MenuAction::launchLoggerOnStart,
                            MenuAction::toggleRelaunchDelay, MenuAction::synthesizeCapsLockRemap,
                            MenuAction::toggleLogToFile, MenuAction::toggleLogDebugMessages,
                            MenuAction::quit));
}

// Before the application is there, an item sends nothing; then it sends its command with the mark
// it had, and opening a menu lets the application set its items by outlet.
TEST(QtStatusMenusTest, ItemsSendTheirCommandWithTheMarkTheyHadAndOpeningAMenuLetsTheApplicationSetThem)
{
    QtStatusMenus menus;
    itemFor(menus, MenuAction::quit).trigger();
    RecordingDelegate delegate;
    menus.setDelegate(&delegate);
    menus.setState("logDebugItem", true);
    itemFor(menus, MenuAction::toggleLogDebugMessages).trigger();
    itemFor(menus, MenuAction::toggleLogToFile).trigger();
    itemFor(menus, MenuAction::openPreferences).trigger();
    EXPECT_THAT(delegate.actions, ElementsAre(Pair(MenuAction::toggleLogDebugMessages, true),
                                              Pair(MenuAction::toggleLogToFile, false),
                                              Pair(MenuAction::openPreferences, false)));

    QMenu& main = menus.menu(StatusMenu::main);
    main.aboutToShow();
    QMenu* debugging = main.findChild<QMenu*>("ViewerMenu");
    ASSERT_NE(debugging, nullptr);
    debugging->aboutToShow();
    EXPECT_THAT(delegate.opened, ElementsAre("main", "ViewerMenu"));

    QAction& ignore = itemFor(menus, MenuAction::ignoreFrontMostApp);
    menus.setTitle("ignoreMenuItem", "Ignore AT&T Mail");
    menus.setState("ignoreMenuItem", true);
    menus.setHidden("ignoreMenuItem", true);
    menus.setState("noSuchItem", true);
    // Shown with its ampersand, not as a shortcut mark.
    EXPECT_EQ(ignore.text().replace("&&", "&"), "Ignore AT&T Mail");
    EXPECT_TRUE(ignore.isChecked());
    EXPECT_FALSE(ignore.isVisible());
}

}  // namespace
}  // namespace veltrane::qtshell
