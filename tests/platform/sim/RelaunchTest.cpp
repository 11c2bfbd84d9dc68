#include "RecordingDelegate.h"
#include "SimTest.h"

namespace veltrane::sim {
namespace {

constexpr const char* kOwnIdentifier = "com.marrowind.Veltrane";
constexpr const char* kPong = "com.marrowind.Veltrane.pong";
constexpr const char* kTerminateLauncher = "com.marrowind.Veltrane.terminateLauncher";

// The roads by which the application starts itself again: through the launcher helper, which
// answers the application and waits for it to exit, or through a shell command.
class RelaunchTest : public testing::SimTest {
protected:
    // The real application terminates when the helper answers; this one logs the answer and stays,
    // so that the delay shows whether it counts from the answer or from the exit.
    SimProcess& launchApplication()
    {
        script.didFinishLaunching = [](const platform::Platform& platform) {
            platform.distributedNotificationCenter.observe(kPong, kOwnIdentifier, [&platform](const auto&) {
                platform.systemLog.write(platform::SystemLogLevel::info, "pong");
            });
        };
        return RecordingDelegate::launch(desktop_, script);
    }
    void onApplication(const std::function<void()>& task)
    {
        application.mainQueue().async(task);
        settle();
    }
    // The application opens the helper to relaunch it a second after its exit and logs the outcome.
    void openHelper()
    {
        onApplication([this] {
            const auto& platform = application.platform();
            platform.workspace.openApplication(LauncherHelper::kPath, {"relaunch", "1"},
                                               [&platform](const std::optional<std::string>& error) {
                                                   platform.systemLog.write(platform::SystemLogLevel::info,
                                                                            error.value_or("opened"));
                                               });
        });
    }
    bool helperListed()
    {
        const auto running = application.platform().workspace.runningApplications();
        return std::any_of(running.begin(), running.end(), [](const auto& candidate) {
            return candidate.bundleIdentifier == LauncherHelper::kBundleIdentifier;
        });
    }

    DelegateScript script;
    SimProcess& application = launchApplication();
};

// An opening that fails does so once, as armed. The helper counts its delay from the exit, not from
// its answer. The answer after the completion, the new process a second after the exit and the
// helper gone then are in the session-active-relaunch scenario; a helper that cannot be opened
// doing nothing else is in helper-fails.
TEST_F(RelaunchTest, AnOpeningFailsOnceAsArmedAndTheHelperCountsItsDelayFromTheExit)
{
    desktop_.faults().helperOpen = true;
    openHelper();
    EXPECT_FALSE(helperListed());
    openHelper();
    EXPECT_TRUE(helperListed());
    advance(3.0);
    application.terminate();
    settle();
    advance(0.999);
    EXPECT_EQ(desktop_.process(), &application);
    advance(0.001);

    EXPECT_NE(desktop_.process(), &application);
    EXPECT_EQ(transcript({"syslog", "launch", "exit"}),
              "0.000 launch\n"
              "0.000 syslog info The application “VeltraneLauncher” could not be opened.\n"
              "0.000 syslog info opened\n"
              "0.000 syslog info pong\n"
              "3.000 exit 0\n"
              "4.000 launch\n");
}

// The helper quits on the notification only with the application's own object (the application
// posting it at start when a helper runs is in the startup-order scenario), and forgets the
// relaunch it was waiting for.
TEST_F(RelaunchTest, TheTerminateNotificationWithTheOwnObjectQuitsTheHelperAndDropsItsRelaunch)
{
    openHelper();
    onApplication(
        [&] { application.platform().distributedNotificationCenter.post(kTerminateLauncher, "com.other"); });
    EXPECT_TRUE(helperListed());
    onApplication([&] {
        application.platform().distributedNotificationCenter.post(kTerminateLauncher, kOwnIdentifier);
    });
    EXPECT_FALSE(helperListed());
    application.terminate();
    advance(5.0);

    EXPECT_EQ(transcript({"launch", "exit"}), "0.000 launch\n0.000 exit 0\n");
}

// How the command starts an application that has exited is the relaunch-through-shell scenario's.
TEST_F(RelaunchTest, TheShellCommandTellsTheRunningApplicationToReopenAndOtherTasksAreOnlyRecorded)
{
    onApplication([&] {
        application.platform().system.launchTask("/bin/sh",
                                                 {"-c", "sleep 1.5; open \"/Applications/Veltrane.app\""});
        application.platform().system.launchTask("/bin/echo", {"sleep", "1"});
    });
    advance(2.0);

    EXPECT_TRUE(application.alive());
    EXPECT_EQ(transcript(), "0.000 launch\n"
                            "0.000 app launched\n"
                            "0.000 shell /bin/sh -c sleep 1.5; open \"/Applications/Veltrane.app\"\n"
                            "0.000 shell /bin/echo sleep 1\n"
                            "1.500 app reopen hasVisibleWindows=false\n");
}

}  // namespace
}  // namespace veltrane::sim
