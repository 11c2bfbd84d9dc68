#include "touch/MTTouchTracker.h"

#include "Contact.h"
#include "FixedMultitouch.h"
#include "NoBindings.h"
#include "RecordingSystemLog.h"
#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace veltrane {
namespace {

using platform::MTTouch;
using testing::Contact;
using testing::FixedMultitouch;
using testing::record;

constexpr std::uint64_t kBuiltInDeviceId = 0x0200000001000000;
constexpr std::uint64_t kUnknownDeviceId = 0x0400000000000777;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// (id, phase) of each touch of a frame, in contact order; empty when the frame gave nothing.
using Phases = std::vector<std::pair<std::int64_t, std::int64_t>>;

// The string ids of a frame's touches, in contact order.
std::string stringIds(const TouchEvent& event)
{
    std::string text;
    for (const Touch& touch : event.touches) {
        text += (text.empty() ? "" : " ") + std::string(touch.stringId.view());
    }
    return text;
}

class MTTouchTrackerTest : public ::testing::Test {
protected:
    MTTouchTrackerTest() { devices.addDevice(kBuiltInDeviceId, DeviceType::internalTrackpad2); }

    // A new tracker over the settings now stored, as after a restart of the application.
    void relaunch()
    {
        tracker_.reset();
        defaults_.reset();
        store_.emplace(domain);
        defaults_.emplace(*store_);
        tracker_.emplace(*defaults_, devices, multitouch, log);
    }

    MTTouchTracker& tracker()
    {
        if (!tracker_) {
            relaunch();
        }
        return *tracker_;
    }

    std::optional<TouchEvent> frame(std::initializer_list<Contact> contacts, double timestamp = 1.0)
    {
        std::vector<MTTouch> records;
        for (const Contact& contact : contacts) {
            records.push_back(record(contact));
        }
        return tracker().processFrame(&device, records, timestamp);
    }

    Phases phases(std::initializer_list<Contact> contacts)
    {
        Phases result;
        if (const auto event = frame(contacts)) {
            for (const Touch& touch : event->touches) {
                result.emplace_back(touch.id, touch.phase);
            }
        }
        return result;
    }

    platform::DefaultsDomain domain;
    testing::NoBindings bindings;
    DevicesModel devices{bindings, true};
    FixedMultitouch multitouch;
    testsupport::RecordingSystemLog log;
    testing::FixedDevice device{kBuiltInDeviceId};

private:
    std::optional<sim::SimUserDefaults> store_;
    std::optional<Defaults> defaults_;
    std::optional<MTTouchTracker> tracker_;
};

// The id is used signed, and only its low 56 bits name the device. A frame without a device gives
// nothing; one without contacts gives nothing in touch-odd-frames and OddCountsNeverReadPastTheFrame.
// Stage 3 beginning, and the position, are in the transcripts of the touch scenarios.
TEST_F(MTTouchTrackerTest, AFrameCarriesItsDeviceAndEachContactAsMeasured)
{
    EXPECT_FALSE(tracker().processFrame(nullptr, std::vector{record({.path = 6, .stage = 3})}, 1.0));
    device.id = 0xFF00000000000ABC;
    devices.addDevice(0x0400000000000ABC, DeviceType::magicTrackpad2);

    const TouchEvent event =
        frame({{.path = 6, .stage = 3, .x = 0.25f, .y = 0.75f, .vx = 0.3f, .vy = -0.4f}}, 42.5).value();
    EXPECT_EQ(event.deviceId, static_cast<std::int64_t>(0xFF00000000000ABC));
    EXPECT_EQ(event.deviceType, DeviceType::magicTrackpad2);
    EXPECT_EQ(event.timestamp, 42.5);
    EXPECT_EQ(event.touchCount, 1);
    EXPECT_FALSE(event.cgEvent);
    const Touch& touch = *event.touches.begin();
    EXPECT_EQ(touch.absPos, (TouchPoint{250.0f, 525.0f}));
    EXPECT_EQ(touch.velocity, (TouchPoint{0.3f, -0.4f}));
    EXPECT_EQ((TouchPoint{touch.deviceWidth, touch.deviceHeight}), (TouchPoint{1000.0f, 700.0f}));
    EXPECT_EQ(touch.touchOrigin, TouchOrigin::mtEvent);

    // Slow contacts leave the gesture still; fast ones are in touch-resting-contacts and -corner-abandoned.
    EXPECT_FALSE(frame({{.path = 1, .vx = 0.2f}, {.path = 2, .vx = 0.1f}}).value().gestureMoved);
    EXPECT_TRUE(log.lines.empty());
}

// Stages 1 and 2 begin like 3 and stage 6 ends like 5. Stage 3 beginning then staying, 4 moving,
// 5 ending and 7 after the end giving nothing are in the touch-top-slide and touch-odd-frames
// scenarios; 4 without speed staying stationary is in touch-resting-contacts.
TEST_F(MTTouchTrackerTest, BeginTimesNameTheTouchesUntilTheyEndOrTheGestureDoes)
{
    const TouchEvent began =
        frame({{.path = 3, .stage = 1, .timestamp = 12.5}, {.path = 5, .stage = 2, .timestamp = 12.75}})
            .value();
    EXPECT_EQ(began.phaseHex, 0x2);
    EXPECT_EQ(stringIds(began), "3:12.5 5:12.75");
    EXPECT_EQ(*began.touchBeginTimestamps, (TouchBeginTimestamps{{3, 12.5}, {5, 12.75}}));

    const TouchEvent later =
        frame({{.path = 3, .stage = 4}, {.path = 5, .stage = 4}, {.path = 7, .stage = 4}}).value();
    EXPECT_EQ(stringIds(later), "3:12.5 5:12.75 7");

    const TouchEvent ending = frame({{.path = 3, .stage = 5}, {.path = 5, .stage = 4}}).value();
    EXPECT_EQ(stringIds(ending), "3:12.5 5:12.75");
    EXPECT_EQ(*ending.touchBeginTimestamps, (TouchBeginTimestamps{{5, 12.75}}));

    // Path 5 vanishes without ending; the end of the gesture forgets it all the same.
    const TouchEvent last = frame({{.path = 5, .stage = 0}, {.path = 7, .stage = 6}}).value();
    EXPECT_EQ(last.phaseHex, 0x100);
    EXPECT_TRUE(last.gestureEnded);
    EXPECT_TRUE(last.touchBeginTimestamps->empty());
    EXPECT_EQ(began.touchBeginTimestamps->size(), 2u);
}

TEST_F(MTTouchTrackerTest, FailingDeviceCallsAreLoggedAndTheFrameGoesOnWithZeros)
{
    multitouch.idStatus = 1;
    multitouch.sizeStatus = -2;
    // Without an id the device is unknown, so a lone contact at the side is not taken for a palm.
    const TouchEvent event = frame({{.path = 1, .stage = 3, .x = 0.05f}, {.path = 2, .stage = 3}}).value();
    EXPECT_EQ(event.deviceId, 0);
    EXPECT_FALSE(event.deviceType);
    EXPECT_EQ(event.touchCount, 2);
    EXPECT_EQ(event.touches.begin()->deviceWidth, 0.0f);
    EXPECT_EQ(event.touches.begin()->deviceHeight, 0.0f);
    using platform::SystemLogLevel;
    EXPECT_EQ(log.lines,
              (std::vector<std::pair<SystemLogLevel, std::string>>{
                  {SystemLogLevel::error, "com-marrowind-Veltrane Unable to obtain deviceId"},
                  {SystemLogLevel::error, "com-marrowind-Veltrane Unable to obtain device dimensions"}}));
}

TEST_F(MTTouchTrackerTest, AThumbMakingContactAtTheBottomOrTopEdgeIsNeverShownUntilItComesIn)
{
    EXPECT_EQ(phases({{.path = 1, .stage = 3, .y = 0.04f}, {.path = 2, .x = 0.6f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 1, .y = 0.04f}, {.path = 2, .x = 0.6f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 1, .x = 0.5f}, {.path = 2, .x = 0.6f}}), (Phases{{1, 1}, {2, 4}}));
    // A new thumb, seen once the old one is gone; let go as it lifts alone, it stays hidden rather
    // than begin in its last frame.
    EXPECT_EQ(phases({{.path = 2, .x = 0.6f}, {.path = 3, .y = 0.04f}}), (Phases{{2, 4}, {3, 4}}));
    EXPECT_EQ(phases({{.path = 2, .x = 0.6f}, {.path = 3, .y = 0.04f}}), (Phases{{2, 4}, {3, 8}}));
    EXPECT_EQ(phases({{.path = 3, .stage = 5, .y = 0.04f}}), Phases{});

    EXPECT_EQ(phases({{.path = 6, .stage = 3, .y = 0.95f}, {.path = 7, .stage = 3}}), (Phases{{7, 1}}));
    EXPECT_EQ(phases({{.path = 6, .y = 0.85f}, {.path = 7}}), (Phases{{7, 4}}));
    EXPECT_EQ(phases({{.path = 6, .y = 0.75f}, {.path = 7}}), (Phases{{6, 1}, {7, 4}}));
    // 35 units away is close enough at the top edge.
    EXPECT_EQ(phases({{.path = 8, .stage = 3, .y = 0.95f}, {.path = 9, .stage = 3, .y = 0.9f}}),
              (Phases{{8, 1}, {9, 1}}));
}

// Thumb rules hold on the trackpads the model knows and palm rules on built-in ones, each only
// while enabled; the wrist rule holds on any device.
TEST_F(MTTouchTrackerTest, ThumbAndPalmRulesHoldOnlyWhereAndWhileTheyApplyButTheWristRuleAlways)
{
    const Contact thumb{.path = 1, .x = 0.4f, .y = 0.1f, .major = 10.0f, .minor = 5.0f};
    const auto palmsAtTheSides = [&] {
        return phases({{.path = 3, .stage = 3, .x = 0.05f}, {.path = 4, .stage = 3, .y = 0.95f}});
    };
    device.id = kUnknownDeviceId;
    EXPECT_EQ(phases({thumb, {.path = 2, .stage = 3, .x = 0.6f}}), (Phases{{1, 4}, {2, 1}}));
    EXPECT_EQ(phases({thumb, {.path = 2, .x = 0.6f}}), (Phases{{1, 4}, {2, 4}}));
    EXPECT_EQ(palmsAtTheSides(), (Phases{{3, 1}, {4, 1}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 5, .stage = 3, .y = 0.02f}}), (Phases{{2, 4}}));

    devices.addDevice(0x0400000000000ABC, DeviceType::magicTrackpad);
    device.id = 0x0400000000000ABC;
    relaunch();
    EXPECT_EQ(palmsAtTheSides(), (Phases{{3, 1}, {4, 1}}));

    device.id = kBuiltInDeviceId;
    domain["disablePalmRejection"] = true;
    relaunch();
    EXPECT_EQ(palmsAtTheSides(), (Phases{{3, 1}, {4, 1}}));

    domain.erase("disablePalmRejection");
    domain["disableThumbRejection"] = true;
    relaunch();
    EXPECT_EQ(phases({thumb, {.path = 2, .stage = 3, .x = 0.6f}}), (Phases{{1, 4}, {2, 1}}));

    // Without the thumb rule, a wrist beside a finger is hidden while on the bottom edge.
    relaunch();
    EXPECT_EQ(phases({{.path = 1, .stage = 3, .y = 0.02f}}), (Phases{{1, 1}}));

    EXPECT_EQ(phases({{.path = 2}, {.path = 3, .stage = 3, .y = 0.02f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 3, .y = 0.01f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 3, .y = 0.1f}}), (Phases{{2, 4}, {3, 4}}));

    // A wrist that lifts is forgotten: the next contact on its path is judged afresh.
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .stage = 3, .y = 0.02f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .stage = 5, .y = 0.02f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .stage = 7, .y = 0.02f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 4, .stage = 3, .y = 0.02f}}), (Phases{{4, 1}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .y = 0.02f}}), (Phases{{2, 4}, {4, 4}}));
}

// A palm let go on reaching the middle is in the touch-resting-contacts scenario.
TEST_F(MTTouchTrackerTest, AHeldPalmLeftAloneBecomesATouchButOneThatLiftsNeverShows)
{
    EXPECT_EQ(phases({{.path = 1, .stage = 3, .x = 0.9f}, {.path = 2, .stage = 3}}), (Phases{{2, 1}}));
    EXPECT_EQ(phases({{.path = 1, .x = 0.9f}}), (Phases{{1, 1}}));

    EXPECT_EQ(phases({{.path = 2}, {.path = 3, .stage = 3, .x = 0.05f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 3, .stage = 5, .x = 0.05f}}), Phases{});
    EXPECT_EQ(phases({{.path = 3, .stage = 7, .x = 0.05f}}), Phases{});
}

// That one which never became firm is still reported as ended when it lifts is in the
// touch-odd-frames scenario.
TEST_F(MTTouchTrackerTest, ALightTouchBeginsOnlyOnceFirmAndALargeOneEndsForGood)
{
    frame({{.stage = 3, .z = 0.2f}});
    frame({{.z = 0.4f}});
    // Once firm, a lighter reading does not hold it back again.
    EXPECT_EQ(phases({{.z = 0.3f}}), (Phases{{1, 4}}));
    // Making contact again while held back, it begins once, not once more when it settles.
    EXPECT_EQ(phases({{.path = 5, .stage = 3, .z = 0.1f}}), Phases{});
    EXPECT_EQ(phases({{.path = 5, .z = 0.1f}}), Phases{});
    EXPECT_EQ(phases({{.path = 5, .stage = 3}}), (Phases{{5, 1}}));
    EXPECT_EQ(phases({{.path = 5}}), (Phases{{5, 4}}));

    domain["filterLightTouches"] = 0.8;
    relaunch();
    EXPECT_EQ(phases({{.stage = 3, .z = 0.5f}}), Phases{});
    for (const double off : {-1.0, std::numeric_limits<double>::quiet_NaN()}) {
        domain["filterLightTouches"] = off;
        relaunch();
        EXPECT_EQ(phases({{.stage = 3, .z = 0.01f}}), (Phases{{1, 1}})) << off;
    }

    relaunch();
    EXPECT_EQ(phases({{.stage = 3}}), (Phases{{1, 1}}));
    EXPECT_EQ(phases({{.vx = 0.3f, .major = 18.5f, .minor = 8.5f}}), (Phases{{1, 8}}));
    EXPECT_EQ(phases({{.major = 6.0f, .minor = 5.0f}}), Phases{});
    EXPECT_EQ(phases({{.stage = 5}}), Phases{});
    EXPECT_EQ(phases({{.stage = 7}}), Phases{});
    EXPECT_EQ(phases({{.stage = 3}}), (Phases{{1, 1}}));

    domain["filterLargeTouches"] = 12.0;
    relaunch();
    EXPECT_EQ(phases({{.stage = 3, .major = 21.0f, .minor = 11.0f}}), (Phases{{1, 1}}));
    EXPECT_EQ(phases({{.path = 2, .stage = 3, .major = 23.0f, .minor = 13.0f}}), Phases{});
    domain["filterLargeTouches"] = -1.0;
    relaunch();
    EXPECT_EQ(phases({{.stage = 3, .major = 60.0f, .minor = 50.0f}}), (Phases{{1, 1}}));
}

// A NaN velocity not moving and a NaN strength not firm are in the touch-odd-frames scenario.
TEST_F(MTTouchTrackerTest, NaNValuesPassNoThreshold)
{
    // Not at an edge, not large.
    const Phases unreadable = phases(
        {{.path = 1, .stage = 3, .x = kNaN, .y = kNaN, .vx = kNaN, .vy = kNaN, .major = kNaN, .minor = kNaN},
         {.path = 2, .stage = 3}});
    EXPECT_EQ(unreadable, (Phases{{1, 1}, {2, 1}}));

    // A held palm is not let go on a position nobody can read, nor is a neighbour out of sight.
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .stage = 3, .x = 0.05f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .x = kNaN}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 5, .absolute = platform::MTPoint{kNaN, kInfinity}},
                      {.path = 6, .stage = 3, .x = 0.95f}}),
              (Phases{{5, 4}}));
}

// Garbage frames (stages out of range, paths repeated, numbers that are none) make only well-formed
// events and leave no gesture held: the touch-odd-frames scenario and multitouch_frames_fuzzer.

}  // namespace
}  // namespace veltrane
