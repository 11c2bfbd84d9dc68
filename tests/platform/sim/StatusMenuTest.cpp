#include "RecordingDelegate.h"
#include "SimTest.h"

namespace veltrane::sim {
namespace {

using platform::MenuAction;
using platform::StatusMenu;

class StatusMenuTest : public testing::SimTest {
protected:
    StatusMenuTest()
    {
        desktop_.setApplicationFactory(RecordingDelegate::factory(desktop_.transcript(), script));
        script.menuWillOpen = [this](const platform::Platform& platform,
                                     const std::optional<std::string>& menu) {
            if (menu) {
                platform.menuItems.setState("logDebugItem", true);
                platform.menuItems.setState("delayRelaunchItem", false);
                platform.menuItems.setState("logDebugItem", logDebug);
            } else if (frontAppName) {
                platform.menuItems.setHidden("ignoreMenuItem", false);
                platform.menuItems.setTitle("ignoreMenuItem", "Ignore " + *frontAppName);
                platform.menuItems.setState("ignoreMenuItem", true);
            } else {
                platform.menuItems.setHidden("ignoreMenuItem", true);
            }
        };
        desktop_.launch();
        settle();
        desktop_.transcript().clear();
    }

    SimProcess& application() { return *desktop_.process(); }

    DelegateScript script;
    std::optional<std::string> frontAppName = "\"Mail\"";
    bool logDebug = true;
};

TEST_F(StatusMenuTest, TheItemRecordsEachChangeAndAClickOpensOnlyTheMainMenu)
{
    const auto item = application().platform().statusBar.createItem();
    item->setVisible(false);
    item->setVisible(false);
    item->setImage("StatusTemplate");
    item->performClick();
    item->setMenu(StatusMenu::unauthorized);
    item->performClick();
    settle();
    item->setMenu(StatusMenu::main);
    item->performClick();
    EXPECT_EQ(transcript({"app"}), "");
    settle();

    EXPECT_EQ(transcript(), "0.000 status hidden\n"
                            "0.000 status hidden\n"
                            "0.000 image StatusTemplate\n"
                            "0.000 status click\n"
                            "0.000 status menu unauthorized\n"
                            "0.000 status click\n"
                            "0.000 status menu main\n"
                            "0.000 status click\n"
                            "0.000 app menuWillOpen main\n"
                            "0.000 menuitem ignoreMenuItem \"Ignore \\\"Mail\\\"\" on\n");
}

TEST_F(StatusMenuTest, AnOpeningMenuShowsItsItemsInTheOrderFirstTouchedAndAChosenOneSendsItsLastState)
{
    application().openMenu("ViewerMenu");
    settle();
    logDebug = false;
    application().openMenu("ViewerMenu");
    application().openMenu(std::nullopt);
    settle();
    frontAppName.reset();
    application().openMenu(std::nullopt);
    settle();
    EXPECT_EQ(transcript(), "0.000 app menuWillOpen ViewerMenu\n"
                            "0.000 menuitem logDebugItem on\n"
                            "0.000 menuitem delayRelaunchItem off\n"
                            "0.000 app menuWillOpen ViewerMenu\n"
                            "0.000 menuitem logDebugItem off\n"
                            "0.000 menuitem delayRelaunchItem off\n"
                            "0.000 app menuWillOpen main\n"
                            "0.000 menuitem ignoreMenuItem \"Ignore \\\"Mail\\\"\" on\n"
                            "0.000 app menuWillOpen main\n"
                            "0.000 menuitem ignoreMenuItem hidden\n");

    desktop_.transcript().clear();
    application().chooseMenuItem(MenuAction::toggleLogDebugMessages);
    application().chooseMenuItem(MenuAction::toggleRelaunchDelay);
    application().chooseMenuItem(MenuAction::toggleLogToFile);
    application().chooseMenuItem(MenuAction::ignoreFrontMostApp);
    application().chooseMenuItem(MenuAction::showAbout);
    EXPECT_EQ(transcript(), "");
    settle();
    EXPECT_EQ(transcript(), "0.000 app menuAction 12 off\n"
                            "0.000 app menuAction 9 off\n"
                            "0.000 app menuAction 11 off\n"
                            "0.000 app menuAction 2 on\n"
                            "0.000 app menuAction 1 off\n");
}

}  // namespace
}  // namespace veltrane::sim
