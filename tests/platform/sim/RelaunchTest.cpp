#include "RecordingDelegate.h"
#include "SimTest.h"

namespace veltrane::sim {
namespace {

constexpr const char* kOwnIdentifier = "com.marrowind.Veltrane";
constexpr const char* kPong = "com.marrowind.Veltrane.pong";
constexpr const char* kTerminateLauncher = "com.marrowind.Veltrane.terminateLauncher";
constexpr const char* kReopenCommand = "sleep 1.5; open \"/Applications/Veltrane.app\"";

// The roads by which the application starts itself again: through the launcher helper, which
// answers the application and waits for it to exit, or through a shell command.
class RelaunchTest : public testing::SimTest {
protected:
    RelaunchTest()
    {
        desktop_.setApplicationFactory(RecordingDelegate::factory(desktop_.transcript(), script));
        // The real application terminates when the helper answers; this one logs the answer and stays, so
        // that the delay shows whether it counts from the answer or from the exit.
        script.didFinishLaunching = [](const platform::Platform& platform) {
            platform.distributedNotificationCenter.observe(kPong, kOwnIdentifier, [&platform](const auto&) {
                platform.systemLog.write(platform::SystemLogLevel::info, "pong");
            });
        };
    }

    SimProcess& launchApplication()
    {
        SimProcess& application = desktop_.launch();
        settle();
        return application;
    }
    // The application opens the helper and logs the outcome.
    void openHelper(SimProcess& application, const std::vector<std::string>& arguments)
    {
        application.mainQueue().async([&application, arguments] {
            const auto& platform = application.platform();
            platform.workspace.openApplication(
                LauncherHelper::kPath, arguments, [&platform](const std::optional<std::string>& error) {
                    platform.systemLog.write(platform::SystemLogLevel::info, error.value_or("opened"));
                });
        });
        settle();
    }
    void onApplication(SimProcess& application, const std::function<void()>& task)
    {
        application.mainQueue().async(task);
        settle();
    }
    bool helperListed(SimProcess& application)
    {
        const auto running = application.platform().workspace.runningApplications();
        return std::any_of(running.begin(), running.end(), [](const auto& candidate) {
            return candidate.bundleIdentifier == LauncherHelper::kBundleIdentifier;
        });
    }

    DelegateScript script;
};

TEST_F(RelaunchTest, TheHelperAnswersAtOnceAndStartsTheApplicationAgainTheDelayAfterItHasExited)
{
    SimProcess& first = launchApplication();
    openHelper(first, {"relaunch", "1"});
    EXPECT_TRUE(helperListed(first));
    advance(3.0);
    first.terminate();
    settle();
    advance(0.999);
    EXPECT_EQ(desktop_.process(), &first);
    advance(0.001);
    advance(10.0);

    SimProcess& second = *desktop_.process();
    EXPECT_NE(&second, &first);
    EXPECT_TRUE(second.alive());
    EXPECT_FALSE(helperListed(second));
    EXPECT_EQ(transcript(), "0.000 launch\n"
                            "0.000 app launched\n"
                            "0.000 openapp " +
                                std::string(LauncherHelper::kPath) +
                                " relaunch 1\n"
                                "0.000 syslog info opened\n"
                                "0.000 syslog info pong\n"
                                "3.000 app terminating\n"
                                "3.000 exit 0\n"
                                "4.000 launch\n"
                                "4.000 app launched\n");
}

TEST_F(RelaunchTest, TheTerminateNotificationQuitsTheHelperAndDropsItsRelaunch)
{
    desktop_.helper().start();
    SimProcess& application = launchApplication();
    EXPECT_TRUE(helperListed(application));
    onApplication(application, [&] {
        application.platform().distributedNotificationCenter.post(kTerminateLauncher, "com.other");
    });
    EXPECT_TRUE(helperListed(application));
    onApplication(application, [&] {
        application.platform().distributedNotificationCenter.post(kTerminateLauncher, kOwnIdentifier);
    });
    EXPECT_FALSE(helperListed(application));

    openHelper(application, {"relaunch", "1"});
    desktop_.postDistributed(kTerminateLauncher, kOwnIdentifier);
    application.terminate();
    advance(5.0);
    EXPECT_EQ(transcript({"launch", "exit"}), "0.000 launch\n0.000 exit 0\n");
}

// The application never exits here: the transcript would say so.
TEST_F(RelaunchTest, AHelperThatCannotBeOpenedSaysSoOnceAndDoesNothingElse)
{
    desktop_.faults().helperOpen = true;
    SimProcess& application = launchApplication();
    openHelper(application, {"relaunch", "1"});
    advance(2.0);
    EXPECT_FALSE(helperListed(application));
    openHelper(application, {"relaunch", "1"});

    EXPECT_EQ(transcript({"syslog", "distributed", "launch", "exit"}),
              "0.000 launch\n"
              "0.000 syslog info The application “VeltraneLauncher” could not be opened.\n"
              "2.000 syslog info opened\n"
              "2.000 syslog info pong\n");
}

// How the command starts an application that has exited is the relaunch-through-shell scenario's.
TEST_F(RelaunchTest, TheShellCommandTellsTheRunningApplicationToReopenAndOtherTasksAreOnlyRecorded)
{
    SimProcess& application = launchApplication();
    onApplication(application, [&] {
        application.platform().system.launchTask("/bin/sh", {"-c", kReopenCommand});
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
