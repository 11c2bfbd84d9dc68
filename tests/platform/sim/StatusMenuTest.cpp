#include "RecordingDelegate.h"
#include "SimTest.h"

namespace veltrane::sim {
namespace {

using platform::MenuAction;
using platform::StatusMenu;

// The status item's lines, a click opening the main menu and the items set while a menu opens
// (a submenu named by its identifier, a hidden item, a title, the ignore item sending its state)
// are in the reopen, menu-commands and per-application scenarios; what the application never
// shows is here.
class StatusMenuTest : public testing::SimTest {
protected:
    StatusMenuTest()
    {
        RecordingDelegate::launch(desktop_, script);
        desktop_.transcript().clear();
    }

    SimProcess& application() { return *desktop_.process(); }

    DelegateScript script;
};

// Every change of the item is recorded, a repeated one too. A click opens only the main menu, later
// on the main queue; its items show once each, in the order first touched, with their last state.
// A chosen item sends its action later too, with the state its check item was last given: off
// when it was given none, and for the items that are no check items.
TEST_F(StatusMenuTest, AClickOpensOnlyTheMainMenuAndAChosenItemSendsTheLastStateOfItsCheckItem)
{
    script.menuWillOpen = [](const platform::Platform& platform) {
        platform.menuItems.setState("logDebugItem", false);
        platform.menuItems.setState("ignoreMenuItem", true);
        platform.menuItems.setState("logDebugItem", true);
    };
    const auto item = application().platform().statusBar.createItem();
    item->setVisible(false);
    item->setVisible(false);
    item->setMenu(StatusMenu::unauthorized);
    item->performClick();
    settle();
    item->setMenu(StatusMenu::main);
    item->performClick();
    for (const auto action : {MenuAction::toggleLogDebugMessages, MenuAction::ignoreFrontMostApp,
                              MenuAction::toggleLogToFile, MenuAction::showAbout}) {
        application().chooseMenuItem(action);
    }
    EXPECT_EQ(transcript({"app"}), "");
    settle();

    EXPECT_EQ(transcript(), "0.000 status hidden\n"
                            "0.000 status hidden\n"
                            "0.000 status menu unauthorized\n"
                            "0.000 status click\n"
                            "0.000 status menu main\n"
                            "0.000 status click\n"
                            "0.000 app menuWillOpen main\n"
                            "0.000 menuitem logDebugItem on\n"
                            "0.000 menuitem ignoreMenuItem on\n"
                            "0.000 app menuAction 12 on\n"
                            "0.000 app menuAction 2 on\n"
                            "0.000 app menuAction 11 off\n"
                            "0.000 app menuAction 1 off\n");
}

}  // namespace
}  // namespace veltrane::sim
