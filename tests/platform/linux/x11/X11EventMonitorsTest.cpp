#include "platform/linux/x11/X11EventMonitors.h"

#include "Eventually.h"
#include "TestReactor.h"
#include "platform/linux/road/LinuxEventPoster.h"
#include "platform/linux/x11/X11Connection.h"
#include "platform/sim/EventText.h"
#include "touch/CursorFreeze.h"
#include "x11/XvfbServer.h"

#include <gtest/gtest.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using platform::EventType;

constexpr platform::EventMask kEveryEvent = ~platform::EventMask{0};
// Where no test moves the pointer itself.
constexpr platform::Point kFence{5, 5};

// The events a monitor heard, as transcripts show them.
using Events = std::vector<std::string>;

// A pointer on a server of its own, moved and clicked through XTest as a device would, whose events
// the monitors hear of on the reactor, run while the test waits for them.
class X11EventMonitorsTest : public ::testing::Test {
protected:
    // Returns once the server has done it: XTest plays each event at once.
    void fake(std::uint8_t type, std::uint8_t detail, std::int16_t x = 0, std::int16_t y = 0)
    {
        xcb_test_fake_input(client.get(), type, detail, XCB_CURRENT_TIME, client.root(), x, y, 0);
        std::free(xcb_get_input_focus_reply(client.get(), xcb_get_input_focus(client.get()), nullptr));
    }

    void moveTo(std::int16_t x, std::int16_t y) { fake(XCB_MOTION_NOTIFY, 0, x, y); }

    platform::Point pointer()
    {
        const auto reply =
            client.answer<xcb_query_pointer_reply_t>(xcb_query_pointer(client.get(), client.root()).sequence);
        return {static_cast<double>(reply->root_x), static_cast<double>(reply->root_y)};
    }

    // Waits until the server has taken every request the monitors made so far: it takes a client's
    // requests in order, but may take another client's in between.
    void settle()
    {
        monitors.warp(kFence);
        ASSERT_TRUE(testsupport::eventually([&] { return pointer() == kFence; }));
    }

    platform::EventMonitors::Token listen(Events& heard)
    {
        return monitors.addGlobalMonitorForEvents(
            kEveryEvent, [&heard](const auto& event) { heard.push_back(sim::describeEvent(*event)); });
    }

    const Events& heardAtLeast(const Events& heard, std::size_t count)
    {
        reactor.runUntil([&] { return heard.size() >= count; });
        return heard;
    }

    desktoptest::XvfbServer xvfb;
    X11Connection client{xvfb.display()};
    testsupport::TestReactor reactor;
    X11EventMonitors monitors{reactor.reactor, xvfb.display()};
};

TEST_F(X11EventMonitorsTest, EachMonitorHearsTheMovesAndPressesOfItsMaskWhereThePointerIsUntilItGoes)
{
    Events heard;
    const auto token = listen(heard);
    Events clicks;
    const auto leftClicks = platform::EventMask{1} << static_cast<int>(EventType::leftMouseDown);
    const auto clicksToken =
        monitors.addLocalMonitorForEvents(leftClicks, [&clicks](const platform::Event& click) {
            clicks.push_back(sim::describeEvent(click));
            return std::nullopt;
        });
    settle();

    moveTo(100, 200);
    heardAtLeast(heard, 1);
    fake(XCB_BUTTON_PRESS, 1);
    heardAtLeast(heard, 2);
    moveTo(120, 210);
    heardAtLeast(heard, 3);
    fake(XCB_BUTTON_RELEASE, 1);
    fake(XCB_BUTTON_PRESS, 3);
    heardAtLeast(heard, 4);
    fake(XCB_BUTTON_RELEASE, 3);
    // A wheel's click scrolls: the move after it is the next event heard.
    fake(XCB_BUTTON_PRESS, 4);
    fake(XCB_BUTTON_RELEASE, 4);
    moveTo(130, 220);

    EXPECT_EQ(heardAtLeast(heard, 5),
              (Events{"mouseMoved flags=0x0 x=100.0 y=200.0", "leftMouseDown flags=0x0 x=100.0 y=200.0",
                      "leftMouseDragged flags=0x0 x=120.0 y=210.0",
                      "rightMouseDown flags=0x0 x=120.0 y=210.0", "mouseMoved flags=0x0 x=130.0 y=220.0"}));
    EXPECT_EQ(clicks, (Events{"leftMouseDown flags=0x0 x=100.0 y=200.0"}));

    monitors.removeMonitor(token);
    monitors.removeMonitor(clicksToken);
    settle();
    // Raw events still asked for now would be read once the next monitor comes.
    moveTo(50, 60);
    Events later;
    listen(later);
    settle();
    moveTo(70, 80);
    EXPECT_EQ(heardAtLeast(later, 1), (Events{"mouseMoved flags=0x0 x=70.0 y=80.0"}));
    EXPECT_EQ(heard.size(), 5u);
}

// The freeze warps the pointer for each move, the first one too, maybe only once the next move is
// done: the test settles before each move it makes.
TEST_F(X11EventMonitorsTest, ACursorFreezeHoldsThePointerWhereTheFirstMoveFoundIt)
{
    ModifierState modifiers;
    LinuxEventPoster poster(modifiers);
    poster.onWarp([this](platform::Point position) { monitors.warp(position); });
    CursorFreeze freeze(monitors, poster);
    freeze.freeze(std::nullopt);
    Events heard;
    listen(heard);
    settle();

    moveTo(100, 200);
    heardAtLeast(heard, 1);
    settle();
    moveTo(150, 260);
    heardAtLeast(heard, 2);
    EXPECT_TRUE(testsupport::eventually([&] { return pointer() == platform::Point{100, 200}; }));

    // No warp is heard of, or the freeze would chase its own: the next event is the next move.
    freeze.unfreeze();
    settle();
    moveTo(30, 40);
    EXPECT_EQ(heardAtLeast(heard, 3),
              (Events{"mouseMoved flags=0x0 x=100.0 y=200.0", "mouseMoved flags=0x0 x=150.0 y=260.0",
                      "mouseMoved flags=0x0 x=30.0 y=40.0"}));
}

}  // namespace
}  // namespace veltrane::linuxbackend
