#include "SimTest.h"

#include "app/StatusItem.h"
#include "touch/OneDrawRecognizer.h"
#include "touch/TouchPhase.h"

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace veltrane {
namespace {

// The trackpad in points, and in framework units.
constexpr float kWidth = 160.0f;
constexpr float kHeight = 100.0f;
constexpr float kUnitsPerPoint = 35.0f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

const std::string kDown = "0.000 post keyDown key=55 flags=0x0\n";
const std::string kUp = "0.000 post keyUp key=55 flags=0x0\n";

// A finger at (x, y) points from the bottom-left corner.
Touch finger(float x, float y, std::int64_t phase, TouchOrigin origin = TouchOrigin::nsEvent,
             std::int64_t id = 1)
{
    const float scale = origin == TouchOrigin::mtEvent ? kUnitsPerPoint : 1.0f;
    Touch touch;
    touch.pos = {x / kWidth, y / kHeight};
    touch.phase = phase;
    touch.rawPhase = phase;
    touch.deviceWidth = kWidth * scale;
    touch.deviceHeight = kHeight * scale;
    touch.id = id;
    touch.touchOrigin = origin;
    return touch;
}

class OneDrawRecognizerTest : public testing::SimTest {
protected:
    OneDrawRecognizerTest()
    {
        onMain([&] { statusItem.refresh(); });
        desktop_.transcript().clear();
    }

    OneDrawRecognizer& recognizer()
    {
        if (!recognizer_) {
            recognizer_ =
                std::make_unique<OneDrawRecognizer>(platform(), defaults, hyperFlags, keyPresser, statusItem);
        }
        return *recognizer_;
    }

    // One frame; event-tap frames carry their gesture event, located where the pointer is.
    void send(const std::vector<Touch>& touches)
    {
        TouchEvent event;
        for (const Touch& touch : touches) {
            event.touches.insert(touch);
            event.phaseHex += TouchPhase::summaryWeight(touch.phase);
        }
        event.touchCount = static_cast<std::int64_t>(event.touches.size());
        event.gestureEnded = event.phaseHex > 0 && (event.phaseHex & 0xFF) == 0;
        if (touches.empty() || touches.front().touchOrigin == TouchOrigin::nsEvent) {
            event.cgEvent = located(platform::EventType::gesture, 40.0, 30.0);
        }
        recognizer().recognize(event);
    }

    // A finger that begins at `from`, moves through `path` and lifts where it last was.
    void slide(Touch from, const std::vector<TouchPoint>& path)
    {
        send({from});
        for (const TouchPoint& point : path) {
            from = finger(point.x, point.y, TouchPhase::moved, from.touchOrigin);
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

private:
    std::unique_ptr<OneDrawRecognizer> recognizer_;
};

TEST_F(OneDrawRecognizerTest, StartAreasFollowTheGesturesSettingAndACornerWinsOverTheTopBand)
{
    struct Case {
        std::int64_t gestures;
        TouchPoint start;
        TouchPoint end;
        bool triggers;
    };
    const Case cases[] = {
        {2, {150, 90}, {90, 30}, true},   // top right corner
        {2, {80, 90}, {80, 50}, false},   // the top band alone is cut by the setting
        {16, {80, 90}, {80, 70}, true},   // top band
        {16, {20, 95}, {20, 80}, true},   // top-left corner area, followed as the top slide
        {17, {20, 95}, {20, 80}, false},  // ... followed as the corner: straight down is too short
        {17, {20, 95}, {80, 35}, true},   // ... and a diagonal triggers it
        {4, {10, 10}, {70, 70}, true},    // bottom left
        {8, {150, 50}, {90, 110}, true},  // bottom right, from the right band
        {31, {80, 50}, {20, 0}, false},   // the middle starts nothing
        {2, {150, 10}, {90, 70}, false},  // a corner that is not allowed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "gestures " << c.gestures << " from " << c.start.x << "," << c.start.y);
        defaults.gestures().setValue(c.gestures);
        desktop_.transcript().clear();
        slide(finger(c.start.x, c.start.y, TouchPhase::began), {c.end});
        EXPECT_EQ(transcript({"post"}), c.triggers ? kDown + kUp : "");
    }
}

TEST_F(OneDrawRecognizerTest, FrameworkTouchesAreMeasuredInUnitsOfAThirtyFifthOfAPoint)
{
    defaults.usePrivateFramework().setEnabled(true);
    const auto mt = TouchOrigin::mtEvent;

    // 30 points from the right and 20 below the top: a corner only when the bands are scaled.
    send({finger(130, 80, TouchPhase::began, mt)});
    send({finger(90, 40, TouchPhase::moved, mt)});  // 56.6 points of travel
    EXPECT_EQ(transcript({"post"}), "");
    send({finger(72, 22, TouchPhase::moved, mt)});  // 82 points
    EXPECT_EQ(transcript({"post"}), kDown);
    send({finger(72, 22, TouchPhase::ended, mt)});

    desktop_.transcript().clear();
    defaults.gestures().setValue(16);
    send({finger(80, 98, TouchPhase::began, mt)});
    send({finger(80, 95, TouchPhase::moved, mt)});  // 5 points below the edge
    EXPECT_EQ(transcript({"post"}), "");
    send({finger(80, 87, TouchPhase::moved, mt)});  // 13 points
    EXPECT_EQ(transcript({"post"}), kDown);
}

TEST_F(OneDrawRecognizerTest, ATriggerPostsCommandOnceAndALiftReleasesItOnce)
{
    defaults.gestures().setValue(16);
    send({finger(80, 95, TouchPhase::began)});
    send({finger(80, 90, TouchPhase::moved)});
    EXPECT_FALSE(hyperFlags.gestureDown());
    send({finger(80, 85, TouchPhase::moved)});
    EXPECT_TRUE(hyperFlags.gestureDown());
    for (float y = 80; y > 10; y -= 10) {
        send({finger(80, y, TouchPhase::moved)});
    }
    send({finger(80, 10, TouchPhase::ended)});
    send({finger(80, 10, TouchPhase::ended)});
    send({});

    EXPECT_EQ(transcript({"post", "haptic", "image"}), kDown + kUp);
    EXPECT_FALSE(hyperFlags.gestureDown());
}

TEST_F(OneDrawRecognizerTest, EverySlideEndReleasesCommandExactlyOnce)
{
    defaults.gestures().setValue(16);
    const std::vector<std::vector<Touch>> ends = {
        {finger(80, 70, TouchPhase::moved), finger(20, 20, TouchPhase::began, TouchOrigin::nsEvent, 2)},
        {},
        {finger(80, 70, TouchPhase::ended)},
        {finger(80, 70, 16)},  // cancelled by the system
    };
    for (const auto& end : ends) {
        desktop_.transcript().clear();
        send({finger(80, 95, TouchPhase::began)});
        send({finger(80, 70, TouchPhase::moved)});
        send(end);
        send(end);
        // The finger that stays after a second one came and went starts nothing.
        send({finger(80, 95, TouchPhase::moved)});
        send({finger(80, 60, TouchPhase::moved)});
        EXPECT_EQ(transcript({"post"}), kDown + kUp) << "after " << end.size() << " touches";
        EXPECT_FALSE(hyperFlags.gestureDown());
    }
}

TEST_F(OneDrawRecognizerTest, ACornerSlideOffTheDiagonalIsAbandonedAndFreesThePointer)
{
    send({finger(150, 90, TouchPhase::began)});
    moveMouse();
    send({finger(100, 85, TouchPhase::moved)});  // 50 left, 5 down
    moveMouse();
    send({finger(60, 0, TouchPhase::moved)});  // back on a diagonal from the start
    send({finger(60, 0, TouchPhase::ended)});

    EXPECT_EQ(transcript({"post", "warp"}), "0.000 warp 40.0,30.0\n");
    EXPECT_FALSE(hyperFlags.gestureDown());
}

TEST_F(OneDrawRecognizerTest, ThePointerIsLetGoPastTheFreezeDistanceWhileHyperStaysHeld)
{
    defaults.gestures().setValue(16);
    send({finger(80, 99, TouchPhase::began)});
    send({finger(80, 72, TouchPhase::moved)});  // 28 below the edge: triggered, still frozen
    moveMouse();
    send({finger(80, 69, TouchPhase::moved)});  // 31 below
    moveMouse();
    EXPECT_EQ(transcript({"post", "warp"}), kDown + "0.000 warp 40.0,30.0\n");
    EXPECT_TRUE(hyperFlags.gestureDown());
    send({finger(80, 69, TouchPhase::ended)});

    desktop_.transcript().clear();
    defaults.gestures().setValue(2);
    send({finger(150, 90, TouchPhase::began)});
    send({finger(90.5f, 30.5f, TouchPhase::moved)});  // 84.1 points from the start
    moveMouse();
    send({finger(89.5f, 29.5f, TouchPhase::moved)});  // 85.6 points
    moveMouse();
    EXPECT_EQ(transcript({"post", "warp"}), kDown + "0.000 warp 40.0,30.0\n");
}

TEST_F(OneDrawRecognizerTest, HapticAndIconFollowTheSettingsOnTheFrameworkThreadAndTheMainQueue)
{
    defaults.gestures().setValue(16);
    defaults.hapticFeedback().setEnabled(true);
    defaults.changeMenuBarIcon().setEnabled(true);
    slide(finger(80, 95, TouchPhase::began), {{80, 50}});
    advance(1.0);
    // Off the main queue the icon changes there afterwards, without holding up the frames.
    EXPECT_EQ(transcript({"post", "haptic", "image"}), "0.000 haptic\n" + kDown + kUp +
                                                           "0.000 image altStatusTemplate\n"
                                                           "0.000 image StatusTemplate\n"
                                                           "0.030 haptic\n"
                                                           "0.060 haptic\n");

    desktop_.transcript().clear();
    defaults.hapticFeedback().setEnabled(false);
    onMain([&] { slide(finger(80, 95, TouchPhase::began), {{80, 50}}); });
    advance(1.0);
    EXPECT_EQ(transcript({"post", "haptic", "image"}), "1.000 post keyDown key=55 flags=0x0\n"
                                                       "1.000 image altStatusTemplate\n"
                                                       "1.000 post keyUp key=55 flags=0x0\n"
                                                       "1.000 image StatusTemplate\n");
}

TEST_F(OneDrawRecognizerTest, NonFiniteTouchesNeverTriggerAndALiftStillReleases)
{
    defaults.gestures().setValue(31);
    Touch odd = finger(80, 95, TouchPhase::began);
    odd.deviceWidth = kNaN;
    slide(odd, {{80, 20}});
    slide(finger(kNaN, 95, TouchPhase::began), {{80, 20}});
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
