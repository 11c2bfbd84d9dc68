#include "SimTest.h"

#include "core/MainEventTap.h"
#include "core/Notifications.h"

namespace veltrane {
namespace {

class MainEventTapTest : public testing::SimTest {
protected:
    MainEventTapTest()
    {
        captureLogs();
        desktop_.hid().connect("kb", {});
    }
    void post(const std::string& name, const std::any& object = {})
    {
        onMain([&] { platform().notificationCenter.post(name, object); });
    }
    void typeA()
    {
        desktop_.hid().key("kb", {7, 4}, true);
        settle();
    }

    Defaults defaults{platform().userDefaults};
    HyperFlags hyperFlags{defaults};
    // The settings page stands for whatever the application opens.
    MainEventTap tap{
        platform(), defaults, hyperFlags, {}, [this] { platform().workspace.openURL("help:settings"); }};
};

TEST_F(MainEventTapTest, TheTapCarriesTheProcessorAndIsRestartedAfterATimeout)
{
    onMain([&] { tap.createTap(tap.currentEventMask()); });
    hyperFlags.setKeyDown(true);
    typeA();
    desktop_.faults().tapNotice = platform::EventType::tapDisabledByTimeout;
    typeA();
    typeA();
    onMain([&] { tap.restartListening(); });

    EXPECT_EQ(transcript({"tap", "deliver", "log"}),
              "0.000 tap created mask=0x6001c1e\n"
              "0.000 tap enabled\n"
              "0.000 deliver keyDown key=0 flags=0x1e0000\n"
              "0.000 tap disabled\n"
              "0.000 log info ET Err, restarting\n"
              "0.000 log info ET exists but is not enabled. Enabling it\n"
              "0.000 tap enabled\n"
              "0.000 deliver keyDown key=0 flags=0x0\n"
              "0.000 deliver keyDown key=0 flags=0x1e0000\n"
              "0.000 log info ET already enabled\n");
}

TEST_F(MainEventTapTest, ADisabledByUserInputNoticeIsPassedOverWithoutARestart)
{
    onMain([&] { tap.createTap(tap.currentEventMask()); });
    desktop_.faults().tapNotice = platform::EventType::tapDisabledByUserInput;
    typeA();
    typeA();

    EXPECT_EQ(transcript({"tap", "log"}),
              "0.000 tap created mask=0x6001c1e\n0.000 tap enabled\n0.000 tap disabled\n");
}

TEST_F(MainEventTapTest, TheFrontmostApplicationSwitchesTheTapOffAndOnAndCreatesItWhenMissing)
{
    post(Notifications::kFrontmostAppToggle, true);
    post(Notifications::kFrontmostAppToggle, false);
    post(Notifications::kFrontmostAppToggle, true);
    post(Notifications::kFrontmostAppToggle, true);
    post(Notifications::kFrontmostAppToggle, std::string("yes"));
    post(Notifications::kFrontmostAppToggle);
    post(Notifications::kFrontmostAppToggle, false);

    EXPECT_EQ(transcript({"tap"}), "0.000 tap created mask=0x6001c1e\n"
                                   "0.000 tap enabled\n"
                                   "0.000 tap disabled\n"
                                   "0.000 tap enabled\n");
}

TEST_F(MainEventTapTest, AMaskChangeReplacesTheTapLeavingOneLiveSource)
{
    onMain([&] { tap.createTap(tap.currentEventMask()); });
    defaults.applyToScroll().setEnabled(true);
    post(Notifications::kUpdateEventMask);
    post(Notifications::kUpdateEventMask);
    hyperFlags.setKeyDown(true);
    desktop_.windowServer().eventFromDevice({platform::EventType::scrollWheel, 0, 0, 0, {}});
    settle();

    EXPECT_EQ(transcript({"tap", "deliver"}), "0.000 tap created mask=0x6001c1e\n"
                                              "0.000 tap enabled\n"
                                              "0.000 tap invalidated\n"
                                              "0.000 tap created mask=0x6401c1e\n"
                                              "0.000 tap enabled\n"
                                              "0.000 tap invalidated\n"
                                              "0.000 tap created mask=0x6401c1e\n"
                                              "0.000 tap enabled\n"
                                              "0.000 deliver scrollWheel flags=0x1e0000 x=0.0 y=0.0\n");
}

TEST_F(MainEventTapTest, ATapThatCannotBeCreatedEndsTheProgramAfterTellingTheUser)
{
    desktop_.faults().tapCreate = true;
    onMain([&] {
        tap.createTap(tap.currentEventMask());
        ADD_FAILURE() << "the program went on";
    });

    EXPECT_EQ(
        transcript({"alert", "open", "syslog", "exit"}),
        "0.000 alert \"Unable to listen to device input\" \"Veltrane is unable to listen to input from your "
        "devices.\\n\\nTry removing Veltrane from the list in System Preferences \u2192 Security & Privacy "
        "\u2192 Privacy \u2192 Accessibility.\\n\\nThen relaunch Veltrane and check the box in System "
        "Preferences again when prompted.\\n\\nVeltrane will now close and attempt to open System "
        "Preferences for you.\"\n"
        "0.000 open help:settings\n"
        "0.000 syslog error com-marrowind-Veltrane Failed to create event tap. Exiting program\n"
        "0.000 exit 1\n");
}

}  // namespace
}  // namespace veltrane
