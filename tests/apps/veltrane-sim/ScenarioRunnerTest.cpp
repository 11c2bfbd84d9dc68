#include "ScenarioRunner.h"
#include "ScenarioError.h"

#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>

#include <cmath>

namespace veltrane::scenario {
namespace {

class ScenarioRunnerTest : public ::testing::Test {
protected:
    void run(std::initializer_list<std::string_view> lines)
    {
        for (const auto line : lines) {
            runner.run(line);
        }
    }
    // The message a line that cannot be run gives.
    std::string failure(std::string_view line)
    {
        try {
            runner.run(line);
        } catch (const ScenarioError& error) {
            return error.what();
        }
        return "(no error)";
    }

    sim::Desktop desktop;
    ScenarioRunner runner{desktop};
};

TEST_F(ScenarioRunnerTest, MalformedLinesNameWhatIsWrong)
{
    run({"keyboard kb"});

    EXPECT_EQ(failure("presss kb a"), "unknown command 'presss'");
    EXPECT_EQ(failure("press kb capslok"), "unknown key name 'capslok'");
    EXPECT_EQ(failure("press kx a"), "unknown keyboard 'kx'");
    EXPECT_EQ(failure("press kb"), "wrong number of arguments, expected: press NAME KEY");
    EXPECT_EQ(failure("event leftMouseClick"), "unknown event type 'leftMouseClick'");
    EXPECT_EQ(failure("event keyDown key=70000"), "key code '70000' is out of range");
    EXPECT_EQ(failure("wait soon"), "malformed number 'soon'");
    EXPECT_EQ(failure("wait inf"), "wait takes a finite number of seconds, zero or more, not 'inf'");
    EXPECT_EQ(failure("keyboard kb"), "keyboard 'kb' is already connected");
    EXPECT_EQ(failure("keyboard k2 vendor=0x5ac vendor=1"), "option 'vendor' is given twice");
    EXPECT_EQ(failure("trusted maybe"), "trusted takes yes or no, not 'maybe'");
    EXPECT_EQ(failure("default hyperFlags 0x1e0000x"), "malformed number '0x1e0000x'");
    EXPECT_EQ(failure("fault tap-timeout now"), "fault tap-timeout takes no argument");
    EXPECT_EQ(failure("fault service-refuses kx"), "fault service-refuses needs a connected keyboard");
    EXPECT_EQ(failure("fault meteor"), "unknown fault 'meteor'");
    EXPECT_EQ(failure("quit"), "the application is not running");
    run({"launch"});
    EXPECT_EQ(failure("launch"), "the application is already running");
}

TEST_F(ScenarioRunnerTest, DefaultsAreStoredWithTheTypeTheyAreWrittenIn)
{
    run({"default keyRemap true", "default physicalKeycode 0xe7", "default quickPressTimeout 0.5",
         "default restartOnWakeDelay nan", R"(default disabledApps "[\"com.apple.Mail\"]")",
         "default lastVersion \"1\"", "default lastVersion unset"});

    const sim::SimUserDefaults defaults(desktop.defaults());
    EXPECT_TRUE(defaults.boolForKey("keyRemap"));
    EXPECT_EQ(defaults.integerForKey("physicalKeycode"), 0xE7);
    EXPECT_EQ(defaults.floatForKey("quickPressTimeout"), 0.5f);
    EXPECT_TRUE(std::isnan(defaults.floatForKey("restartOnWakeDelay")));
    EXPECT_EQ(defaults.stringForKey("disabledApps"), R"(["com.apple.Mail"])");
    EXPECT_FALSE(desktop.defaults().contains("lastVersion"));
}

TEST_F(ScenarioRunnerTest, TheRoadOfAKeyAndTheExitStatus)
{
    run({"keyboard kb vendor=0x5ac product=0x27e location=0x14200000", "launch", "press kb lshift",
         "tap kb a", "front com.apple.Mail Apple Mail", "wait 0.25", "quit"});

    EXPECT_EQ(desktop.transcript().text({"deliver", "exit"}),
              "0.000 deliver flagsChanged key=56 flags=0x20000\n"
              "0.000 deliver keyDown key=0 flags=0x20000\n"
              "0.000 deliver keyUp key=0 flags=0x20000\n"
              "0.250 exit 0\n");
    EXPECT_EQ(desktop.frontmost()->localizedName, "Apple Mail");
    EXPECT_EQ(runner.exitStatus(), 0);
}

TEST_F(ScenarioRunnerTest, ArmedFaultsReachTheDesktop)
{
    run({"keyboard kb", "fault hid-open-denied", "fault hid-value-error -1", "fault tap-create-fails",
         "fault no-services", "fault service-refuses kb"});

    EXPECT_EQ(desktop.faults().hidOpen, platform::kHidNotPermitted);
    EXPECT_EQ(desktop.faults().hidValue, -1);
    EXPECT_TRUE(desktop.faults().tapCreate);
    EXPECT_TRUE(desktop.faults().noServices);
    EXPECT_TRUE(desktop.faults().refusingKeyboards.contains("kb"));
    run({"fault hid-open-error 0xe00002c5", "fault tap-user-input"});
    EXPECT_EQ(desktop.faults().hidOpen, static_cast<platform::HidResult>(0xE00002C5u));
    EXPECT_EQ(desktop.faults().tapNotice, platform::EventType::tapDisabledByUserInput);
}

}  // namespace
}  // namespace veltrane::scenario
