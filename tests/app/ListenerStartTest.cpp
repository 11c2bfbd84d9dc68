#include "app/CompositionRoot.h"
#include "core/Notifications.h"
#include "platform/sim/Desktop.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

// Stands for the shell's viewer and writes what it is asked to do into the desktop's transcript,
// beside the alerts and the engine's own lines.
class RecordingViewer final : public TouchViewer {
public:
    explicit RecordingViewer(sim::Transcript& transcript) : transcript_(transcript) {}

    bool isShowing() const override { return showing; }
    void showTouches(const TouchEvent&) override {}
    void switchOn() override
    {
        showing = true;
        transcript_.record("viewer", "switchOn");
    }
    void resetClosedViewers() override { transcript_.record("viewer", "resetClosedViewers"); }

    bool showing = false;

private:
    sim::Transcript& transcript_;
};

// The whole application on the simulated desktop, with that viewer: what starts with the
// listeners, touchListenerDelay seconds after the engine, and what comes before them.
class ListenerStartTest : public ::testing::Test {
protected:
    ListenerStartTest()
    {
        desktop.setApplicationFactory([this](const platform::Platform& platform) {
            return makeApplication(platform,
                                   {.loggingSetup = [](bool, logging::Level) {}, .viewer = &viewer});
        });
    }
    void chooseShowViewer()
    {
        desktop.process()->chooseMenuItem(platform::MenuAction::showViewer);
        desktop.scheduler().runUntilIdle();
    }
    std::string transcript(const std::vector<std::string>& kinds) const
    {
        return desktop.transcript().text(kinds);
    }

    sim::Desktop desktop;
    RecordingViewer viewer{desktop.transcript()};
};

// The explanation shown once is also in the menu-commands scenario, which has no viewer.
TEST_F(ListenerStartTest,
       LaunchViewerOnStartSwitchesItOnSilentlyAndTheCommandExplainsOnceThenResetsOrSwitchesOn)
{
    desktop.defaults()["launchViewerOnStart"] = true;
    desktop.defaults()["touchListenerDelay"] = std::int64_t{2};
    desktop.setTrusted(false);
    desktop.launch();
    desktop.scheduler().advance(1.0);
    EXPECT_EQ(transcript({"alert", "viewer", "tap"}), "");

    desktop.setTrusted(true);
    desktop.scheduler().advance(3.0);
    viewer.showing = false;  // the user closed the last viewer window
    chooseShowViewer();
    chooseShowViewer();
    viewer.showing = false;
    chooseShowViewer();

    // Trust is seen at the next poll; the viewer does not wait for the delayed event tap.
    EXPECT_EQ(transcript({"alert", "viewer", "tap"}),
              "1.200 viewer switchOn\n"
              "3.200 tap created mask=0x6001c1e\n"
              "3.200 tap enabled\n"
              "4.000 alert \"Touch Viewer\" \"Viewing windows will be displayed for each device "
              "when touches are detected on that device\"\n"
              "4.000 viewer switchOn\n"
              "4.000 viewer resetClosedViewers\n"
              "4.000 viewer switchOn\n");
}

// The device listener is made once per run: by the start of the listeners when the private
// framework is chosen, or earlier when the preferences ask for it with "startDeviceListener" (here
// twice). A trackpad is registered a second after the listener is made.
class DeviceListenerStartTest : public ListenerStartTest, public ::testing::WithParamInterface<int> {};

TEST_P(DeviceListenerStartTest, TheOneDeviceListenerStartsWithTheListenersOrEarlierOnTheNotification)
{
    desktop.defaults()["usePrivateFramework"] = true;
    desktop.defaults()["touchListenerDelay"] = std::int64_t{3};
    desktop.multitouch().connect({"tp", 0x0400000000003000, 0, false, false, 16000, 11000});
    desktop.launch();
    desktop.scheduler().runUntilIdle();
    for (int i = 0; i < GetParam(); ++i) {
        desktop.process()->mainQueue().async([this] {
            desktop.process()->platform().notificationCenter.post(Notifications::kStartDeviceListener, {});
        });
    }
    desktop.scheduler().advance(5.0);

    const std::string registered = "syslog info com-marrowind-Veltrane Registered trackpad\n";
    const std::string tap = "3.000 tap created mask=0x6001c1e\n3.000 tap enabled\n";
    EXPECT_EQ(transcript({"syslog", "tap"}),
              GetParam() == 0 ? tap + "4.000 " + registered : "1.000 " + registered + tap);
}

INSTANTIATE_TEST_SUITE_P(Notifications, DeviceListenerStartTest, ::testing::Values(0, 2));

}  // namespace
}  // namespace veltrane
