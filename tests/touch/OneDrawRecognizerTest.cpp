#include "SimTest.h"

#include "app/StatusItem.h"
#include "touch/OneDrawRecognizer.h"
#include "touch/TouchPhase.h"

#include <limits>
#include <tuple>
#include <vector>

namespace veltrane {
namespace {

// The trackpad of the gesture events, in points.
constexpr float kWidth = 160.0f;
constexpr float kHeight = 100.0f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

const std::string kDown = "0.000 post keyDown key=55 flags=0x0\n";
const std::string kUp = "0.000 post keyUp key=55 flags=0x0\n";

// A finger at (x, y) points from the bottom-left corner.
Touch finger(float x, float y, std::int64_t phase, std::int64_t id = 1)
{
    Touch touch;
    touch.pos = {x / kWidth, y / kHeight};
    touch.phase = phase;
    touch.rawPhase = phase;
    touch.deviceWidth = kWidth;
    touch.deviceHeight = kHeight;
    touch.id = id;
    touch.touchOrigin = TouchOrigin::nsEvent;
    return touch;
}

class OneDrawRecognizerTest : public testing::SimTest {
protected:
    OneDrawRecognizerTest()
    {
        onMain([&] { statusItem.refresh(); });
        desktop_.transcript().clear();
    }

    // One frame with its gesture event, located where the pointer is.
    void send(const std::vector<Touch>& touches)
    {
        TouchEvent event;
        for (const Touch& touch : touches) {
            event.touches.insert(touch);
            event.phaseHex += TouchPhase::summaryWeight(touch.phase);
        }
        event.touchCount = static_cast<std::int64_t>(event.touches.size());
        event.gestureEnded = event.phaseHex > 0 && (event.phaseHex & 0xFF) == 0;
        event.cgEvent = located(platform::EventType::gesture, 40.0, 30.0);
        recognizer.recognize(event);
    }

    // A finger that begins at `from`, moves through `path` and lifts where it last was.
    void slide(Touch from, const std::vector<TouchPoint>& path)
    {
        send({from});
        for (const TouchPoint& point : path) {
            from = finger(point.x, point.y, TouchPhase::moved);
            send({from});
        }
        from.phase = TouchPhase::ended;
        send({from});
    }

    void moveMouse()
    {
        desktop_.windowServer().eventFromDevice(located(platform::EventType::mouseMoved, 400.0, 300.0));
        settle();
    }

    Defaults defaults{platform().userDefaults};
    HyperFlags hyperFlags{defaults};
    KeyPresser keyPresser{platform().eventPoster};
    StatusItem statusItem{platform(), defaults};
    OneDrawRecognizer recognizer{platform(), defaults, hyperFlags, keyPresser, statusItem};
};

// The top-right corner of the default setting and the top band are in the touch-corner-abandoned
// and touch-top-slide scenarios.
TEST_F(OneDrawRecognizerTest, StartAreasFollowTheGesturesSettingAndACornerWinsOverTheTopBand)
{
    const std::tuple<std::int64_t, TouchPoint, TouchPoint, bool> cases[] = {
        {2, {80, 90}, {80, 50}, false},   // the top band alone is cut by the setting
        {16, {20, 95}, {20, 80}, true},   // top-left corner area, followed as the top slide
        {17, {20, 95}, {20, 80}, false},  // ... followed as the corner: straight down is too short
        {17, {20, 95}, {80, 35}, true},   // ... and a diagonal triggers it
        {4, {10, 10}, {70, 70}, true},    // bottom left
        {8, {150, 50}, {90, 110}, true},  // bottom right, from the right band
        {31, {80, 50}, {20, 0}, false},   // the middle starts nothing
        {2, {150, 10}, {90, 70}, false},  // a corner that is not allowed
    };
    for (const auto& [gestures, start, end, triggers] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "gestures " << gestures << " from " << start.x << "," << start.y);
        defaults.gestures().setValue(gestures);
        desktop_.transcript().clear();
        slide(finger(start.x, start.y, TouchPhase::began), {end});
        EXPECT_EQ(transcript({"post"}), triggers ? kDown + kUp : "");
    }
}

// A lift and a second finger landing, each releasing once, are in the touch-top-slide and
// touch-corner-abandoned scenarios.
TEST_F(OneDrawRecognizerTest, ASlidePastTheTriggerHoldsCommandEveryEndReleasesItOnceAndWithoutHapticsNoPulse)
{
    defaults.gestures().setValue(16);
    const std::vector<std::vector<Touch>> ends = {{}, {finger(80, 70, 16)}};  // none, or cancelled
    for (const auto& end : ends) {
        desktop_.transcript().clear();
        send({finger(80, 95, TouchPhase::began)});
        send({finger(80, 90, TouchPhase::moved)});  // 10 points below the edge
        EXPECT_FALSE(hyperFlags.gestureDown());
        send({finger(80, 70, TouchPhase::moved)});
        EXPECT_TRUE(hyperFlags.gestureDown());
        send(end);
        send(end);
        // The finger that stays after a second one came and went starts nothing.
        send({finger(80, 95, TouchPhase::moved)});
        send({finger(80, 60, TouchPhase::moved)});
        EXPECT_EQ(transcript({"post", "haptic", "image"}), kDown + kUp)
            << "after " << end.size() << " touches";
        EXPECT_FALSE(hyperFlags.gestureDown());
    }

    // On the main queue the icon changes at once. Haptic pulses and the icon changed afterwards on
    // the main queue, for frames of the framework's thread, are in the touch-top-slide scenario.
    desktop_.transcript().clear();
    defaults.changeMenuBarIcon().setEnabled(true);
    onMain([&] { slide(finger(80, 95, TouchPhase::began), {{80, 50}}); });
    advance(1.0);
    EXPECT_EQ(transcript({"post", "haptic", "image"}),
              kDown + "0.000 image altStatusTemplate\n" + kUp + "0.000 image StatusTemplate\n");
}

// The top slide's freeze distance is in the touch-top-slide scenario.
TEST_F(OneDrawRecognizerTest, ACornerSlideLetsThePointerGoPastItsFreezeDistanceWhileHyperStaysHeld)
{
    send({finger(150, 90, TouchPhase::began)});
    send({finger(90.5f, 30.5f, TouchPhase::moved)});  // 84.1 points from the start
    moveMouse();
    send({finger(89.5f, 29.5f, TouchPhase::moved)});  // 85.6 points
    moveMouse();
    EXPECT_EQ(transcript({"post", "warp"}), kDown + "0.000 warp 40.0,30.0\n");
    EXPECT_TRUE(hyperFlags.gestureDown());
}

// A finger beginning at a position that is not a number is in the touch-odd-frames scenario.
TEST_F(OneDrawRecognizerTest, NonFiniteTouchesNeverTriggerAndALiftStillReleases)
{
    defaults.gestures().setValue(31);
    Touch odd = finger(80, 95, TouchPhase::began);
    odd.deviceWidth = kNaN;
    slide(odd, {{80, 20}});
    odd.deviceHeight = std::numeric_limits<float>::infinity();
    slide(odd, {{80, 20}});
    EXPECT_EQ(transcript({"post", "warp"}), "");

    send({finger(80, 95, TouchPhase::began)});
    send({finger(80, 50, TouchPhase::moved)});
    send({finger(80, kNaN, TouchPhase::moved)});
    send({finger(kNaN, kNaN, TouchPhase::ended)});
    EXPECT_EQ(transcript({"post"}), kDown + kUp);
}

}  // namespace
}  // namespace veltrane
