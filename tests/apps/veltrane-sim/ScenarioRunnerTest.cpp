#include "ScenarioRunner.h"
#include "ScenarioError.h"

#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>

#include <cmath>

namespace veltrane::scenario {
namespace {

// What well-formed lines do (the key road, the exit status, the application shell's lines, the tap
// faults) is in the golden scenarios that use them, and an unknown key name in malformed-line; here,
// what the runner refuses and what only it stores.
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
    run({"keyboard kb", "trackpad tp location=0x3000", "mouse plain"});

    EXPECT_EQ(failure("presss kb a"), "unknown command 'presss'");
    EXPECT_EQ(failure("press kx a"), "unknown keyboard 'kx'");
    EXPECT_EQ(failure("press kb"), "wrong number of arguments, expected: press NAME KEY");
    EXPECT_EQ(failure("event leftMouseClick"), "unknown event type 'leftMouseClick'");
    EXPECT_EQ(failure("event keyDown key=70000"), "key code '70000' is out of range");
    EXPECT_EQ(failure("wait soon"), "malformed number 'soon'");
    EXPECT_EQ(failure("wait inf"), "wait takes a finite number of seconds, zero or more, not 'inf'");
    EXPECT_EQ(failure("keyboard kb"), "device 'kb' is already connected");
    EXPECT_EQ(failure("keyboard k2 vendor=0x5ac vendor=1"), "option 'vendor' is given twice");
    EXPECT_EQ(failure("trusted maybe"), "trusted takes yes or no, not 'maybe'");
    EXPECT_EQ(failure("default hyperFlags 0x1e0000x"), "malformed number '0x1e0000x'");
    EXPECT_EQ(failure("fault tap-timeout now"), "fault tap-timeout takes no argument");
    EXPECT_EQ(failure("fault service-refuses kx"), "fault service-refuses needs a connected keyboard");
    EXPECT_EQ(failure("fault meteor"), "unknown fault 'meteor'");
    EXPECT_EQ(failure("frame kb id=1 stage=3 x=0.5 y=0.5"), "no multitouch device 'kb'");
    EXPECT_EQ(failure("frame plain id=1 stage=3 x=0.5 y=0.5"), "no multitouch device 'plain'");
    EXPECT_EQ(failure("frame tp id=1 stage=3 x=0.5"), "missing y= in 'id=1 stage=3 x=0.5'");
    EXPECT_EQ(failure("frame tp id=1 stage=3 x=0.5 y=0.5 w=3"), "unknown option 'w=3'");
    EXPECT_EQ(failure("frame tp id=0x100000000 stage=3 x=0.5 y=0.5"),
              "id '0x100000000' does not fit 32 bits");
    EXPECT_EQ(failure("gesture tp id=1 phase=lifted x=0.5 y=0.5"), "unknown touch phase 'lifted'");
    EXPECT_EQ(failure("trackpad t2 force=maybe"), "force takes yes or no, not 'maybe'");
    EXPECT_EQ(failure("trackpad tp"), "device 'tp' is already connected");
    EXPECT_EQ(failure("pointer 1"), "wrong number of arguments, expected: pointer X Y");
    // Odd values are the point of a frame: they reach the framework as they are.
    run({"frame tp id=1 stage=99 x=nan y=inf vx=-inf z=-1", "frame tp", "gesture tp"});
    EXPECT_EQ(failure("menu"), "wrong number of arguments, expected: menu ACTION | menu open [IDENTIFIER]");
    EXPECT_EQ(failure("menu openPreference"), "unknown menu action 'openPreference'");
    EXPECT_EQ(failure("menu quit now"), "menu quit takes no argument");
    EXPECT_EQ(failure("menu quit"), "the application is not running");
    EXPECT_EQ(failure("menu open ViewerMenu"), "the application is not running");
    EXPECT_EQ(failure("reopen"), "the application is not running");
    EXPECT_EQ(failure("helper sleeping"), "helper takes running or fails, not 'sleeping'");
    EXPECT_EQ(failure("os 10"), "malformed version '10'");
    EXPECT_EQ(failure("os 10.14.6.1"), "malformed version '10.14.6.1'");
    EXPECT_EQ(failure("os 10..6"), "malformed version '10..6'");
    EXPECT_EQ(failure("os -10.14"), "malformed version '-10.14'");
    EXPECT_EQ(failure("os 99999999999.0"), "malformed version '99999999999.0'");
    EXPECT_EQ(failure("loginitem works 2"), "wrong number of arguments, expected: loginitem fails N");
    EXPECT_EQ(failure("loginitem fails -1"), "loginitem fails takes a count, zero or more, not '-1'");
    EXPECT_EQ(failure("loginitem fails twice"), "malformed number 'twice'");
    EXPECT_EQ(failure("distributed"), "wrong number of arguments, expected: distributed NAME [OBJECT]");
    EXPECT_EQ(failure("installed"), "wrong number of arguments, expected: installed BUNDLEID");
    EXPECT_EQ(failure("quit"), "the application is not running");
    run({"launch"});
    EXPECT_EQ(failure("launch"), "the application is already running");
}

// Armed faults reach the desktop.
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

    run({"keyboard kb", "fault hid-open-denied", "fault hid-value-error -1", "fault no-services",
         "fault service-refuses kb"});

    EXPECT_EQ(desktop.faults().hidOpen, platform::kHidNotPermitted);
    EXPECT_EQ(desktop.faults().hidValue, -1);
    EXPECT_TRUE(desktop.faults().noServices);
    EXPECT_TRUE(desktop.faults().refusingKeyboards.contains("kb"));
    run({"fault hid-open-error 0xe00002c5"});
    EXPECT_EQ(desktop.faults().hidOpen, static_cast<platform::HidResult>(0xE00002C5u));
}

}  // namespace
}  // namespace veltrane::scenario
