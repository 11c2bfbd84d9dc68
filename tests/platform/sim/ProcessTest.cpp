#include "SimTest.h"

#include "platform/ApplicationDelegate.h"

namespace veltrane::sim {
namespace {

using platform::WorkspaceNotification;

class ProcessTest : public testing::SimTest {
protected:
    void note(const std::string& text) { desktop_.transcript().record("note", text); }
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

class RecordingDelegate : public platform::ApplicationDelegate {
public:
    explicit RecordingDelegate(const platform::Platform& platform) : platform_(platform) {}

    void applicationDidFinishLaunching() override { platform_.statusBar.setImage("StatusTemplate"); }
    void applicationWillTerminate() override
    {
        platform_.systemLog.write(platform::SystemLogLevel::info, "bye");
    }

private:
    const platform::Platform& platform_;
};

TEST_F(ProcessTest, ALaunchedApplicationFinishesLaunchingAndHearsOfItsTermination)
{
    desktop_.setApplicationFactory(
        [](const platform::Platform& platform) { return std::make_unique<RecordingDelegate>(platform); });
    SimProcess& second = desktop_.launch();
    settle();
    second.terminate();
    settle();

    EXPECT_EQ(transcript(), "0.000 image StatusTemplate\n0.000 syslog info bye\n0.000 exit 0\n");
    EXPECT_EQ(desktop_.process(), &second);
}

TEST_F(ProcessTest, NotificationsAreRecordedAndReachTheObserversStillRegistered)
{
    auto& center = platform().notificationCenter;
    platform::NotificationCenter::Token second = 0;
    center.observe("frontmostAppToggle", [&](const std::any& object) {
        note(std::any_cast<bool>(object) ? "first true" : "first false");
        center.removeObserver(second);
    });
    second = center.observe("frontmostAppToggle", [&](const std::any&) { note("second"); });
    center.observe("other", [&](const std::any&) { note("other"); });

    center.post("frontmostAppToggle", true);
    center.post("keyboardAddedOrRemoved", {});
    center.post("updateEventMask", std::string("x"));
    center.post("updateEventMask", 3);

    EXPECT_EQ(transcript(), "0.000 notify frontmostAppToggle true\n"
                            "0.000 note first true\n"
                            "0.000 notify keyboardAddedOrRemoved\n"
                            "0.000 notify updateEventMask x\n"
                            "0.000 notify updateEventMask (object)\n");
}

TEST_F(ProcessTest, WorkspaceNotificationsReachObserversOnTheMainQueue)
{
    auto& workspace = platform().workspace;
    EXPECT_EQ(workspace.frontmostApplication(), std::nullopt);
    workspace.observe(WorkspaceNotification::didActivateApplication, [&](const auto& application) {
        EXPECT_TRUE(process().mainQueue().isCurrent());
        note(application->bundleIdentifier.value_or("-") + " " + application->localizedName.value_or("-"));
    });
    const auto wake = workspace.observe(WorkspaceNotification::didWake, [&](const auto&) { note("wake"); });
    workspace.observe(WorkspaceNotification::willSleep,
                      [&](const auto& application) { note(application ? "app" : "sleep"); });

    desktop_.activate({"com.apple.Mail", "Mail"});
    desktop_.activate({std::nullopt, std::nullopt});
    desktop_.notifyWorkspace(WorkspaceNotification::willSleep);
    desktop_.notifyWorkspace(WorkspaceNotification::didWake);
    workspace.removeObserver(wake);
    settle();

    EXPECT_EQ(workspace.frontmostApplication(), platform::RunningApplication{});
    EXPECT_EQ(transcript(), "0.000 note com.apple.Mail Mail\n0.000 note - -\n0.000 note sleep\n");
}

TEST_F(ProcessTest, TheUserFacingPortsRecordWhatTheyShow)
{
    platform().alerts.showAlert("Unable to listen", "Line one.\n\nLine two.", "OK");
    EXPECT_TRUE(platform().workspace.openURL(
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"));
    EXPECT_FALSE(platform().workspace.openURL("no scheme"));
    platform().systemLog.write(platform::SystemLogLevel::error, "com-marrowind-Veltrane Failed");
    desktop_.setTrusted(false);
    EXPECT_FALSE(platform().system.isProcessTrusted());

    EXPECT_EQ(transcript(),
              "0.000 alert \"Unable to listen\" \"Line one.\\n\\nLine two.\"\n"
              "0.000 open x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility\n"
              "0.000 syslog error com-marrowind-Veltrane Failed\n");
}

}  // namespace
}  // namespace veltrane::sim
