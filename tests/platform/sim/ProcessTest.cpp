#include "RecordingDelegate.h"
#include "SimTest.h"

namespace veltrane::sim {
namespace {

using platform::WorkspaceNotification;

class ProcessTest : public testing::SimTest {
protected:
    void note(const std::string& text) { desktop_.transcript().record("note", text); }

    DelegateScript script;
};

TEST_F(ProcessTest, ExitEndsTheCallingTaskEvenFromANestedSyncAndSilencesTheProcess)
{
    auto hidQueue = platform().dispatch.makeSerialQueue("hidQueue");
    auto tap = platform().eventTaps.createTap(0x1C00,
                                              [this](platform::EventType, platform::Event&) { note("tap"); });
    tap->enable(true);
    hidQueue->asyncAfter(1.0, [this] { note("never"); });
    onMain([&] {
        hidQueue->sync([&] { platform().system.exit(1); });
        note("after exit");
    });
    desktop_.hid().connect("kb", {});
    desktop_.hid().key("kb", {7, 4}, true);
    advance(2.0);

    EXPECT_FALSE(process().alive());
    EXPECT_EQ(process().exitStatus(), 1);
    EXPECT_EQ(transcript({"note", "exit", "deliver"}),
              "0.000 exit 1\n0.000 deliver keyDown key=0 flags=0x0\n");
}

// That a launch is recorded and that a termination from outside reaches the application, the
// relaunch tests see.
TEST_F(ProcessTest, TerminateTellsTheApplicationOnceAndEndsTheCallingTask)
{
    // An application that asks for termination again while it hears of one.
    script.willTerminate = [](const platform::Platform& platform) { platform.system.terminate(); };
    SimProcess& application = RecordingDelegate::launch(desktop_, script);
    application.mainQueue().async([&] {
        application.platform().system.terminate();
        note("after terminate");
    });
    settle();

    EXPECT_EQ(transcript({"app", "note", "exit"}),
              "0.000 app launched\n0.000 app terminating\n0.000 exit 0\n");
    EXPECT_EQ(application.exitStatus(), 0);
}

TEST_F(ProcessTest, WorkspaceNotificationsReachObserversOnTheMainQueue)
{
    auto& workspace = platform().workspace;
    EXPECT_EQ(workspace.frontmostApplication(), std::nullopt);
    workspace.observe(WorkspaceNotification::didActivateApplication, [&](const auto& application) {
        EXPECT_TRUE(process().mainQueue().isCurrent());
        note(application->bundleIdentifier.value_or("-") + " " + application->localizedName.value_or("-"));
    });
    workspace.observe(WorkspaceNotification::willSleep,
                      [&](const auto& application) { note(application ? "app" : "sleep"); });

    desktop_.activate({"com.apple.Mail", "Mail"});
    desktop_.activate({std::nullopt, std::nullopt});
    desktop_.notifyWorkspace(WorkspaceNotification::willSleep);
    desktop_.notifyWorkspace(WorkspaceNotification::didWake);
    settle();

    EXPECT_EQ(workspace.frontmostApplication(), platform::RunningApplication{});
    EXPECT_EQ(transcript(), "0.000 note com.apple.Mail Mail\n0.000 note - -\n0.000 note sleep\n");
}

// Posts are recorded (the golden scenarios show those without an object or with a flag); a
// distributed one goes through the desktop, which brings it to every process, the poster too. Who
// hears a notification, and when, the local notification centres' tests check.
TEST_F(ProcessTest, NotificationsAreRecordedAndDistributedOnesReachThePosterThroughTheDesktop)
{
    platform().notificationCenter.post("updateEventMask", std::string("x"));
    platform().notificationCenter.post("updateEventMask", 3);
    auto& center = platform().distributedNotificationCenter;
    center.observe("pong", std::nullopt, [this](const auto& object) { note(object.value_or("-")); });

    center.post("pong", "com.marrowind.Veltrane");
    center.post("pong", std::nullopt);
    note("posted");
    settle();
    desktop_.postDistributed("pong", "desktop");
    settle();

    EXPECT_EQ(transcript(), "0.000 notify updateEventMask x\n"
                            "0.000 notify updateEventMask (object)\n"
                            "0.000 distributed pong com.marrowind.Veltrane\n"
                            "0.000 distributed pong\n"
                            "0.000 note posted\n"
                            "0.000 note com.marrowind.Veltrane\n"
                            "0.000 note -\n"
                            "0.000 note desktop\n");
}

TEST_F(ProcessTest, LoginItemChangesFailAsOftenAsArmed)
{
    desktop_.faults().loginItemFailures = 2;
    auto& system = platform().system;

    EXPECT_FALSE(system.setLoginItemEnabled("com.marrowind.VeltraneLauncher", false));
    EXPECT_FALSE(system.setLoginItemEnabled("com.marrowind.VeltraneLauncher", true));
    EXPECT_TRUE(system.setLoginItemEnabled("com.marrowind.VeltraneLauncher", true));
    EXPECT_EQ(transcript(), "0.000 loginitem com.marrowind.VeltraneLauncher off failed\n"
                            "0.000 loginitem com.marrowind.VeltraneLauncher on failed\n"
                            "0.000 loginitem com.marrowind.VeltraneLauncher on\n");
}

// How alerts, opened addresses and system log lines read in the transcript is the tap-creation-fails
// scenario's to check, and an untrusted process the untrusted-start scenario's. Where an installed
// application lies is in the scenario runner's tests; a companion found installed is in the
// startup-order scenario, and none found in the event mask of every other scenario's first run.
TEST_F(ProcessTest, TheWorkspaceOpensOnlyAddressesWithASchemeAndKnowsTheApplicationsThatRanAndItsOwn)
{
    auto& workspace = platform().workspace;
    EXPECT_TRUE(workspace.openURL("x-apple.systempreferences:com.apple.preference.security"));
    EXPECT_FALSE(workspace.openURL("no scheme"));
    desktop_.activate({"com.apple.Mail", "Mail"});
    desktop_.activate({"com.apple.Safari", "Safari"});
    desktop_.activate({"com.apple.Mail", "Mail"});
    desktop_.helper().start();
    workspace.openApplication(
        "/Applications/Other.app", {"a", "b"},
        [this](const std::optional<std::string>& error) { note(error.value_or("opened")); });
    note("asked");
    settle();

    const std::vector<platform::RunningApplication> running = {
        {"com.apple.Mail", "Mail"},
        {"com.apple.Safari", "Safari"},
        {"com.marrowind.VeltraneLauncher", "VeltraneLauncher"}};
    EXPECT_EQ(workspace.runningApplications(), running);
    EXPECT_EQ(workspace.urlForApplication("com.marrowind.Veltrane"), "/Applications/Veltrane.app");
    EXPECT_EQ(transcript(),
              "0.000 open x-apple.systempreferences:com.apple.preference.security\n"
              "0.000 openapp /Applications/Other.app a b\n0.000 note asked\n0.000 note opened\n");
}

}  // namespace
}  // namespace veltrane::sim
