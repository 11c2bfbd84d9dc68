#include "touch/NSTouchTracker.h"
#include "touch/TouchPhase.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace veltrane {
namespace {

using namespace TouchPhase;

platform::GestureTouch contact(std::int64_t id, std::int64_t phase, double y, double x = 0.5)
{
    return {id, phase, {x, y}, {160.0, 100.0}};
}

class NSTouchTrackerTest : public ::testing::Test {
protected:
    TouchEvent send(double time, std::vector<platform::GestureTouch> touches)
    {
        return tracker.touchEvent(
            {.type = platform::EventType::gesture,
             .location = {320.0, 240.0},
             .timestamp = time,
             .deviceId = 9,
             .touches = std::make_shared<const std::vector<platform::GestureTouch>>(std::move(touches))});
    }

    // "id:phase" of each kept touch, in the event's order.
    static std::string phases(const TouchEvent& event)
    {
        std::string text;
        for (const Touch& touch : event.touches) {
            text += (text.empty() ? "" : " ") + std::to_string(touch.id) + ":" + std::to_string(touch.phase);
        }
        return text;
    }

    NSTouchTracker tracker;
};

// How a thumb resting beside a finger is ended once, hidden, and back once alone is in the
// touch-event-tap scenario.
TEST_F(NSTouchTrackerTest, AThumbIsHiddenOnlyBesideAFingerAndBackAboveTheReleaseHeightButNeverAsItLifts)
{
    send(0.0, {contact(1, began, 0.01), contact(2, began, 0.5)});
    EXPECT_EQ(phases(send(0.1, {contact(1, stationary, 0.01), contact(2, moved, 0.5)})), "1:4 2:2");
    EXPECT_EQ(phases(send(0.2, {contact(1, stationary, 0.01), contact(2, moved, 0.5)})), "1:8 2:2");
    EXPECT_EQ(phases(send(0.25, {contact(1, stationary, 0.07), contact(2, moved, 0.5)})), "2:2");
    const TouchEvent back = send(0.3, {contact(1, moved, 0.09), contact(2, moved, 0.5)});
    EXPECT_EQ(phases(back), "1:1 2:2");
    EXPECT_EQ(back.touches.begin()->stringId, "1:0.3");

    send(0.5, {contact(1, moved, 0.01), contact(2, moved, 0.5)});
    send(0.6, {contact(1, stationary, 0.01), contact(2, ended, 0.5)});
    const TouchEvent lift = send(0.7, {contact(1, ended, 0.01)});
    EXPECT_EQ(lift.touchCount, 0);
    EXPECT_TRUE(lift.touchBeginTimestamps->empty());

    // Alone on the bottom edge, a touch is never hidden however long it rests.
    send(1.0, {contact(1, began, 0.01)});
    for (double time = 1.5; time < 4.0; time += 0.5) {
        EXPECT_EQ(phases(send(time, {contact(1, stationary, 0.01)})), "1:4");
    }
}

// The phase summaries and the moved and ended flags are in the touch-event-tap scenario.
TEST_F(NSTouchTrackerTest, BeginTimesFollowThePhasesAndEachEventCarriesItsGestureEvent)
{
    const TouchEvent first = send(2.5, {contact(3, began, 0.5), contact(4, began, 0.6)});
    EXPECT_EQ(first.touches.begin()->stringId, "3:2.5");
    EXPECT_EQ(*first.touchBeginTimestamps, (TouchBeginTimestamps{{3, 2.5}, {4, 2.5}}));

    const TouchEvent half = send(2.8, {contact(3, ended, 0.5), contact(4, moved, 0.7)});
    EXPECT_EQ(half.touches.begin()->stringId, "3:2.5");
    EXPECT_EQ(*half.touchBeginTimestamps, (TouchBeginTimestamps{{4, 2.5}}));

    const TouchEvent last = send(2.9, {contact(4, ended, 0.7)});
    EXPECT_TRUE(last.touchBeginTimestamps->empty());
    EXPECT_EQ(last.deviceId, 9);
    EXPECT_EQ(last.timestamp, 2.9);
    EXPECT_FALSE(last.deviceType);
    ASSERT_TRUE(last.cgEvent);
    EXPECT_EQ(last.cgEvent->location, (platform::Point{320.0, 240.0}));
    EXPECT_EQ(last.touches.begin()->deviceWidth, 160.0f);
    EXPECT_EQ(last.touches.begin()->touchOrigin, TouchOrigin::nsEvent);
    EXPECT_FALSE(last.touches.begin()->absPos);

    // Without a known begin time the id stands alone.
    EXPECT_EQ(send(3.0, {contact(5, moved, 0.5)}).touches.begin()->stringId, "5");

    // An event without touches is empty and not an end.
    for (const TouchEvent& empty :
         {tracker.touchEvent({.type = platform::EventType::gesture, .location = {}}), send(0.0, {})}) {
        EXPECT_EQ(empty.touchCount, 0);
        EXPECT_EQ(empty.phaseHex, 0);
        EXPECT_EQ(empty.rawPhaseHex, 0);
        EXPECT_FALSE(empty.gestureEnded);
        EXPECT_TRUE(empty.cgEvent);
    }
}

TEST_F(NSTouchTrackerTest, ACancelledTouchPassesThroughAndForgetsItsBeginTime)
{
    send(0.0, {contact(1, began, 0.5), contact(2, began, 0.5)});
    const TouchEvent taken = send(0.5, {contact(1, cancelled, 0.5), contact(2, stationary, 0.5)});
    EXPECT_EQ(phases(taken), "1:16 2:4");
    EXPECT_EQ(taken.phaseHex, 0x10);
    EXPECT_EQ(taken.rawPhaseHex, 0x10);
    EXPECT_EQ(*taken.touchBeginTimestamps, (TouchBeginTimestamps{{2, 0.0}}));

    // A new contact with the same identity is not taken for a long-resting thumb.
    EXPECT_EQ(phases(send(0.6, {contact(1, began, 0.01), contact(3, began, 0.5)})), "1:1 3:1");
}

}  // namespace
}  // namespace veltrane
