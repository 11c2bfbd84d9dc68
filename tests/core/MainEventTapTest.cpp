#include "SimTest.h"

#include "core/MainEventTap.h"
#include "core/Notifications.h"

namespace veltrane {
namespace {

class MainEventTapTest : public testing::SimTest {
protected:
    MainEventTapTest() { captureLogs(); }
    void post(const std::string& name, const std::any& object = {})
    {
        onMain([&] { platform().notificationCenter.post(name, object); });
    }

    Defaults defaults{platform().userDefaults};
    HyperFlags hyperFlags{defaults};
    MainEventTap tap{platform(), defaults, hyperFlags};
};

// The processor on the tap, the restart after a timeout and the notice of user input passed over
// are in the tap-timeout scenario, the failure to create the tap in tap-creation-fails, and
// standing aside for an application and coming back in per-application. Non-boolean notices and
// a repeated one change nothing, and a restart leaves an enabled tap alone. A mask change replaces
// the tap, leaving one live source.
TEST_F(MainEventTapTest,
       TheFrontmostApplicationSwitchesTheTapOffAndOnAndCreatesItWhenMissingAndAMaskChangeReplacesIt)
{
    post(Notifications::kFrontmostAppToggle, true);
    post(Notifications::kFrontmostAppToggle, false);
    post(Notifications::kFrontmostAppToggle, true);
    post(Notifications::kFrontmostAppToggle, true);
    post(Notifications::kFrontmostAppToggle, std::string("yes"));
    post(Notifications::kFrontmostAppToggle);
    post(Notifications::kFrontmostAppToggle, false);
    onMain([&] { tap.restartListening(); });
    defaults.applyToScroll().setEnabled(true);
    post(Notifications::kUpdateEventMask);
    post(Notifications::kUpdateEventMask);
    hyperFlags.setKeyDown(true);
    desktop_.windowServer().eventFromDevice({platform::EventType::scrollWheel, 0, 0, 0, {}});
    settle();

    EXPECT_EQ(transcript({"tap", "log", "deliver"}),
              "0.000 tap created mask=0x6001c1e\n"
              "0.000 tap enabled\n"
              "0.000 tap disabled\n"
              "0.000 tap enabled\n"
              "0.000 log info ET already enabled\n"
              "0.000 tap invalidated\n"
              "0.000 tap created mask=0x6401c1e\n"
              "0.000 tap enabled\n"
              "0.000 tap invalidated\n"
              "0.000 tap created mask=0x6401c1e\n"
              "0.000 tap enabled\n"
              "0.000 deliver scrollWheel flags=0x1e0000 x=0.0 y=0.0\n");
}

}  // namespace
}  // namespace veltrane
