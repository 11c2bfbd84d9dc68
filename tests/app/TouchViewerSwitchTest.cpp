#include "app/CompositionRoot.h"
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

class TouchViewerSwitchTest : public ::testing::Test {
protected:
    TouchViewerSwitchTest()
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

    std::string transcript() const { return desktop.transcript().text({"alert", "viewer", "tap"}); }

    sim::Desktop desktop;
    RecordingViewer viewer{desktop.transcript()};
};

TEST_F(TouchViewerSwitchTest, LaunchViewerOnStartSwitchesItOnSilentlyOnceTheEngineStarts)
{
    desktop.defaults()["launchViewerOnStart"] = true;
    desktop.defaults()["touchListenerDelay"] = std::int64_t{2};
    desktop.setTrusted(false);
    desktop.launch();
    desktop.scheduler().advance(1.0);
    EXPECT_EQ(transcript(), "");

    desktop.setTrusted(true);
    desktop.scheduler().advance(3.0);

    // Trust is seen at the next poll; the viewer does not wait for the delayed event tap.
    EXPECT_EQ(transcript(), "1.200 viewer switchOn\n"
                            "3.200 tap created mask=0x6001c1e\n"
                            "3.200 tap enabled\n");
}

TEST_F(TouchViewerSwitchTest, TheMenuExplainsOnceThenResetsWhileOnAndSwitchesOnAgainWhenOff)
{
    desktop.launch();
    desktop.scheduler().runUntilIdle();
    desktop.transcript().clear();

    chooseShowViewer();
    chooseShowViewer();
    viewer.showing = false;  // the user closed the last viewer window
    chooseShowViewer();

    EXPECT_EQ(transcript(),
              "0.000 alert \"Touch Viewer\" \"Viewing windows will be displayed for each device "
              "when touches are detected on that device\"\n"
              "0.000 viewer switchOn\n"
              "0.000 viewer resetClosedViewers\n"
              "0.000 viewer switchOn\n");
}

}  // namespace
}  // namespace veltrane
