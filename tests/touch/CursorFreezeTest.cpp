#include "SimTest.h"

#include "touch/CursorFreeze.h"

#include <memory>
#include <vector>

namespace veltrane {
namespace {

using platform::EventType;

class CursorFreezeTest : public testing::SimTest {
protected:
    void event(EventType type, double x, double y)
    {
        desktop_.windowServer().eventFromDevice(located(type, x, y));
        settle();
    }
    void activateSelf() { desktop_.activate({"com.marrowind.Veltrane", "Veltrane"}); }

    CursorFreeze freeze{platform().eventMonitors, platform().eventPoster};
};

// A second freeze only moves the point, and unfreezing, even twice or before any freeze, lets the
// pointer go. A freeze without a point pinning the pointer where the next move finds it is in the
// touch-top-slide scenario.
TEST_F(CursorFreezeTest, ClicksAreWarpedBackAndStillDeliveredInEitherApplicationUntilTheFreezeEnds)
{
    freeze.unfreeze();
    freeze.freeze(platform::Point{5, 5});
    freeze.freeze(platform::Point{10, 10});
    event(EventType::leftMouseDown, 50, 50);
    activateSelf();
    event(EventType::rightMouseDown, 60, 60);
    EXPECT_TRUE(freeze.frozen());
    freeze.unfreeze();
    freeze.unfreeze();
    event(EventType::mouseMoved, 70, 80);
    EXPECT_FALSE(freeze.frozen());

    EXPECT_EQ(transcript({"warp", "deliver"}), "0.000 deliver leftMouseDown flags=0x0 x=50.0 y=50.0\n"
                                               "0.000 warp 10.0,10.0\n"
                                               "0.000 warp 10.0,10.0\n"
                                               "0.000 deliver rightMouseDown flags=0x0 x=60.0 y=60.0\n"
                                               "0.000 deliver mouseMoved flags=0x0 x=70.0 y=80.0\n");
}

TEST_F(CursorFreezeTest, AHandlerThatRunsOnlyAfterTheFreezeEndedLeavesThePointerAlone)
{
    auto late = std::make_unique<CursorFreeze>(platform().eventMonitors, platform().eventPoster);
    for (const bool destroy : {false, true}) {
        late->freeze(platform::Point{10, 10});
        // The global monitor hears of the move later, on the main queue; the freeze ends first.
        desktop_.windowServer().eventFromDevice(located(EventType::mouseMoved, 50, 50));
        desktop_.queue().async([&] { destroy ? late.reset() : late->unfreeze(); });
        settle();
    }
    EXPECT_EQ(transcript({"warp"}), "");
}

TEST_F(CursorFreezeTest, MonitorsWatchTheirMaskUntilStoppedOrDestroyed)
{
    std::vector<std::string> seen;
    {
        GlobalEventMonitor global(platform().eventMonitors, 0x20,
                                  [&](const std::optional<platform::Event>&) { seen.push_back("global"); });
        LocalEventMonitor local(platform().eventMonitors, 0x2, [&](const platform::Event&) {
            seen.push_back("local");
            return std::optional<platform::Event>();
        });
        global.start();
        global.start();
        local.start();
        event(EventType::mouseMoved, 1, 1);
        activateSelf();
        event(EventType::leftMouseDown, 2, 2);
        global.stop();
        global.stop();
        desktop_.activate({"com.apple.Mail", "Mail"});
        event(EventType::mouseMoved, 3, 3);
        activateSelf();
    }
    event(EventType::leftMouseDown, 4, 4);

    EXPECT_EQ(seen, (std::vector<std::string>{"global", "local"}));
    // The local monitor swallowed its click.
    EXPECT_EQ(transcript({"deliver"}), "0.000 deliver mouseMoved flags=0x0 x=1.0 y=1.0\n"
                                       "0.000 deliver mouseMoved flags=0x0 x=3.0 y=3.0\n"
                                       "0.000 deliver leftMouseDown flags=0x0 x=4.0 y=4.0\n");
}

}  // namespace
}  // namespace veltrane
