#include "touch/MTTouchTracker.h"

#include "platform/sim/SimUserDefaults.h"
#include "touch/TouchPhase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace veltrane {
namespace {

using platform::MTTouch;

constexpr std::uint64_t kBuiltInDeviceId = 0x0200000001000000;
constexpr std::uint64_t kUnknownDeviceId = 0x0400000000000777;
constexpr std::int32_t kWidth = 1000;
constexpr std::int32_t kHeight = 700;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

class FakeMultitouch final : public platform::Multitouch {
public:
    std::uint64_t deviceId = kBuiltInDeviceId;
    std::int32_t idStatus = 0;
    std::int32_t sizeStatus = 0;

    // A failing call leaves garbage behind, which the tracker must not use.
    std::int32_t MTDeviceGetDeviceID(platform::MTDevice*, std::uint64_t& id) override
    {
        id = idStatus == 0 ? deviceId : 0xBAD;
        return idStatus;
    }
    std::int32_t MTDeviceGetSensorSurfaceDimensions(platform::MTDevice*, std::int32_t& width,
                                                    std::int32_t& height) override
    {
        width = sizeStatus == 0 ? kWidth : 13;
        height = sizeStatus == 0 ? kHeight : 13;
        return sizeStatus;
    }

    std::optional<std::vector<platform::MTDeviceRef>> MTDeviceCreateList() override { return std::nullopt; }
    std::int32_t MTDeviceGetFamilyID(platform::MTDevice*, std::int32_t&) override { return 0; }
    bool MTDeviceIsBuiltIn(platform::MTDevice*) override { return false; }
    bool MTDeviceSupportsForce(platform::MTDevice*) override { return false; }
    platform::MTDeviceRef MTDeviceCreateFromDeviceID(std::uint64_t) override { return nullptr; }
    void MTRegisterContactFrameCallbackWithRefcon(platform::MTDevice*, platform::MTContactFrameCallback,
                                                  void*) override
    {
    }
    std::int32_t MTDeviceStart(platform::MTDevice*, std::int32_t) override { return 0; }
};

class RecordingLog final : public platform::SystemLog {
public:
    void write(platform::SystemLogLevel level, std::string_view text) override
    {
        lines.emplace_back(level, text);
    }

    std::vector<std::pair<platform::SystemLogLevel, std::string>> lines;
};

class NoBindings final : public platform::Bindings {
public:
    void didChangeValue(std::string_view, std::string_view, bool) override {}
};

// One contact of a frame: by default a firm, small, still finger in the middle of the surface.
struct Contact {
    std::int32_t path = 1;
    platform::MTPathStage stage = 4;
    float x = 0.5f;
    float y = 0.5f;
    float vx = 0.0f;
    float vy = 0.0f;
    float z = 1.0f;
    float major = 6.0f;
    float minor = 5.0f;
    double timestamp = 1.0;
    std::optional<platform::MTPoint> absolute = std::nullopt;  // x · width, y · height when not given
};

MTTouch record(const Contact& c)
{
    MTTouch touch{};
    touch.timestamp = c.timestamp;
    touch.pathIndex = c.path;
    touch.stage = c.stage;
    touch.normalizedVector = {{c.x, c.y}, {c.vx, c.vy}};
    touch.zTotal = c.z;
    touch.majorAxis = c.major;
    touch.minorAxis = c.minor;
    touch.absoluteVector.position = c.absolute.value_or(
        platform::MTPoint{c.x * static_cast<float>(kWidth), c.y * static_cast<float>(kHeight)});
    return touch;
}

// (id, phase) of each touch of a frame, in contact order; empty when the frame gave nothing.
using Phases = std::vector<std::pair<std::int64_t, std::int64_t>>;

const Touch& touchWithId(const TouchEvent& event, std::int64_t id)
{
    const auto found =
        std::find_if(event.touches.begin(), event.touches.end(), [&](const Touch& t) { return t.id == id; });
    if (found == event.touches.end()) {
        static const Touch none;
        ADD_FAILURE() << "no touch " << id;
        return none;
    }
    return *found;
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
    NoBindings bindings;
    DevicesModel devices{bindings, true};
    FakeMultitouch multitouch;
    RecordingLog log;
    platform::MTDevice device;

private:
    std::optional<sim::SimUserDefaults> store_;
    std::optional<Defaults> defaults_;
    std::optional<MTTouchTracker> tracker_;
};

// Stage 3 beginning, 4 moving, 5 ending and 7 after the end giving nothing are in the
// touch-top-slide scenario; 4 without speed staying stationary is in touch-palm.
TEST_F(MTTouchTrackerTest, PathStagesGiveThePhasesOfAFirmSmallContact)
{
    EXPECT_EQ(phases({{.stage = 3}}), (Phases{{1, 1}}));
    EXPECT_EQ(phases({{.stage = 3}}), (Phases{{1, 4}}));

    EXPECT_EQ(phases({{.path = 2, .stage = 1}, {.path = 3, .stage = 2}, {.path = 4, .stage = 6}}),
              (Phases{{2, 1}, {3, 1}, {4, 8}}));
    const auto mixed = frame({{.path = 2, .stage = 4, .vx = 0.5f}, {.path = 3, .stage = 5}});
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->phaseHex, 0x110);
    EXPECT_EQ(mixed->rawPhaseHex, 0x110);
    EXPECT_FALSE(mixed->gestureEnded);
}

TEST_F(MTTouchTrackerTest, AFrameCarriesItsDeviceAndEachContactAsMeasured)
{
    // The id is used signed, and only its low 56 bits name the device.
    multitouch.deviceId = 0xFF00000000000ABC;
    devices.addDevice(0x0400000000000ABC, DeviceType::magicTrackpad2);

    const auto event =
        frame({{.path = 6, .stage = 3, .x = 0.25f, .y = 0.75f, .vx = 0.3f, .vy = -0.4f}}, 42.5);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->deviceId, static_cast<std::int64_t>(0xFF00000000000ABC));
    EXPECT_EQ(event->deviceType, DeviceType::magicTrackpad2);
    EXPECT_EQ(event->timestamp, 42.5);
    EXPECT_EQ(event->touchCount, 1);
    EXPECT_FALSE(event->cgEvent);
    const Touch& touch = touchWithId(*event, 6);
    EXPECT_EQ(touch.pos, (TouchPoint{0.25f, 0.75f}));
    EXPECT_EQ(touch.absPos, (TouchPoint{250.0f, 525.0f}));
    EXPECT_EQ(touch.velocity, (TouchPoint{0.3f, -0.4f}));
    EXPECT_EQ(touch.deviceWidth, 1000.0f);
    EXPECT_EQ(touch.deviceHeight, 700.0f);
    EXPECT_EQ(touch.touchOrigin, TouchOrigin::mtEvent);
}

TEST_F(MTTouchTrackerTest, BeginTimesNameTheTouchesUntilTheyEndOrTheGestureDoes)
{
    const auto began =
        frame({{.path = 3, .stage = 3, .timestamp = 12.5}, {.path = 5, .stage = 3, .timestamp = 12.75}});
    ASSERT_TRUE(began);
    EXPECT_EQ(touchWithId(*began, 3).stringId, "3:12.5");
    EXPECT_EQ(*began->touchBeginTimestamps, (TouchBeginTimestamps{{3, 12.5}, {5, 12.75}}));

    const auto later = frame({{.path = 3, .stage = 4}, {.path = 5, .stage = 4}, {.path = 7, .stage = 4}});
    ASSERT_TRUE(later);
    EXPECT_EQ(touchWithId(*later, 3).stringId, "3:12.5");
    EXPECT_EQ(touchWithId(*later, 7).stringId, "7");

    const auto ending = frame({{.path = 3, .stage = 5}, {.path = 5, .stage = 4}});
    ASSERT_TRUE(ending);
    EXPECT_EQ(touchWithId(*ending, 3).stringId, "3:12.5");
    EXPECT_EQ(*ending->touchBeginTimestamps, (TouchBeginTimestamps{{5, 12.75}}));

    // Path 5 vanishes without ending; the end of the gesture forgets it all the same.
    const auto last = frame({{.path = 5, .stage = 0}, {.path = 7, .stage = 5}});
    ASSERT_TRUE(last);
    EXPECT_EQ(last->phaseHex, 0x100);
    EXPECT_TRUE(last->gestureEnded);
    EXPECT_TRUE(last->touchBeginTimestamps->empty());
    EXPECT_EQ(began->touchBeginTimestamps->size(), 2u);
}

TEST_F(MTTouchTrackerTest, TheGestureMovesOnlyWhenEveryContactOfTheFrameMovesFastEnough)
{
    EXPECT_TRUE(frame({{.path = 1, .vx = 0.2f}, {.path = 2, .vy = -0.2f}}).value().gestureMoved);
    EXPECT_FALSE(frame({{.path = 1, .vx = 0.2f}, {.path = 2, .vx = 0.1f}}).value().gestureMoved);
    // A contact held back still counts among the contacts of the frame.
    const auto withLight = frame({{.path = 1, .vx = 0.2f}, {.path = 3, .stage = 3, .vx = 0.2f, .z = 0.1f}});
    ASSERT_TRUE(withLight);
    EXPECT_EQ(withLight->touchCount, 1);
    EXPECT_FALSE(withLight->gestureMoved);
}

TEST_F(MTTouchTrackerTest, NoDeviceOrNoContactGivesNothingAndLeavesTheStateAlone)
{
    const std::vector<MTTouch> contacts{record({.stage = 3})};
    EXPECT_FALSE(tracker().processFrame(nullptr, contacts, 1.0));
    EXPECT_FALSE(frame({}));
    EXPECT_EQ(phases({{.stage = 3}}), (Phases{{1, 1}}));
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(MTTouchTrackerTest, FailingDeviceCallsAreLoggedAndTheFrameGoesOnWithZeros)
{
    multitouch.idStatus = 1;
    multitouch.sizeStatus = -2;
    // Without an id the device is unknown, so a lone contact at the side is not taken for a palm.
    const auto event = frame({{.path = 1, .stage = 3, .x = 0.05f}, {.path = 2, .stage = 3}});
    ASSERT_TRUE(event);
    EXPECT_EQ(event->deviceId, 0);
    EXPECT_FALSE(event->deviceType);
    EXPECT_EQ(event->touchCount, 2);
    EXPECT_EQ(touchWithId(*event, 1).deviceWidth, 0.0f);
    EXPECT_EQ(touchWithId(*event, 1).deviceHeight, 0.0f);
    using platform::SystemLogLevel;
    EXPECT_EQ(log.lines,
              (std::vector<std::pair<SystemLogLevel, std::string>>{
                  {SystemLogLevel::error, "com-marrowind-Veltrane Unable to obtain deviceId"},
                  {SystemLogLevel::error, "com-marrowind-Veltrane Unable to obtain device dimensions"}}));
}

TEST_F(MTTouchTrackerTest, AThumbMakingContactIsNeverShownUntilItReachesTheCentre)
{
    EXPECT_EQ(phases({{.path = 1, .stage = 3, .y = 0.04f}, {.path = 2, .x = 0.6f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 1, .y = 0.04f}, {.path = 2, .x = 0.6f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 1, .x = 0.5f}, {.path = 2, .x = 0.6f}}), (Phases{{1, 1}, {2, 4}}));
    // A new thumb, seen once the old one is gone; let go as it lifts alone, it stays hidden rather
    // than begin in its last frame.
    EXPECT_EQ(phases({{.path = 2, .x = 0.6f}, {.path = 3, .y = 0.04f}}), (Phases{{2, 4}, {3, 4}}));
    EXPECT_EQ(phases({{.path = 2, .x = 0.6f}, {.path = 3, .y = 0.04f}}), (Phases{{2, 4}, {3, 8}}));
    EXPECT_EQ(phases({{.path = 3, .stage = 5, .y = 0.04f}}), Phases{});
}

TEST_F(MTTouchTrackerTest, AnUnknownDeviceHasNoThumbOrPalmRulesButTheWristRule)
{
    multitouch.deviceId = kUnknownDeviceId;
    const Contact thumb{.path = 1, .x = 0.4f, .y = 0.1f, .major = 10.0f, .minor = 5.0f};
    EXPECT_EQ(phases({thumb, {.path = 2, .stage = 3, .x = 0.6f}}), (Phases{{1, 4}, {2, 1}}));
    EXPECT_EQ(phases({thumb, {.path = 2, .x = 0.6f}}), (Phases{{1, 4}, {2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 3, .stage = 3, .x = 0.05f}}), (Phases{{2, 4}, {3, 1}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .stage = 3, .y = 0.02f}}), (Phases{{2, 4}}));
}

TEST_F(MTTouchTrackerTest, AHeldPalmLeftAloneBecomesATouchButOneThatLiftsNeverShows)
{
    EXPECT_EQ(phases({{.path = 1, .stage = 3, .x = 0.9f}, {.path = 2, .stage = 3}}), (Phases{{2, 1}}));
    EXPECT_EQ(phases({{.path = 1, .x = 0.9f}}), (Phases{{1, 1}}));

    EXPECT_EQ(phases({{.path = 2}, {.path = 3, .stage = 3, .x = 0.05f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 3, .stage = 5, .x = 0.05f}}), Phases{});
    EXPECT_EQ(phases({{.path = 3, .stage = 7, .x = 0.05f}}), Phases{});
}

TEST_F(MTTouchTrackerTest, ThumbAndPalmRulesHoldOnlyWhileEnabledAndPalmRulesOnlyOnBuiltInTrackpads)
{
    const auto palmsAtTheSides = [&] {
        return phases({{.path = 1, .stage = 3, .x = 0.05f}, {.path = 2, .stage = 3, .y = 0.95f}});
    };
    devices.addDevice(0x0400000000000ABC, DeviceType::magicTrackpad);
    multitouch.deviceId = 0x0400000000000ABC;
    EXPECT_EQ(palmsAtTheSides(), (Phases{{1, 1}, {2, 1}}));

    multitouch.deviceId = kBuiltInDeviceId;
    domain["disablePalmRejection"] = true;
    relaunch();
    EXPECT_EQ(palmsAtTheSides(), (Phases{{1, 1}, {2, 1}}));

    domain.erase("disablePalmRejection");
    domain["disableThumbRejection"] = true;
    relaunch();
    const Contact thumb{.path = 1, .x = 0.4f, .y = 0.1f, .major = 10.0f, .minor = 5.0f};
    EXPECT_EQ(phases({thumb, {.path = 2, .stage = 3, .x = 0.6f}}), (Phases{{1, 4}, {2, 1}}));
}

TEST_F(MTTouchTrackerTest, AThumbOnTheTopEdgeIsHiddenUntilItComesDown)
{
    EXPECT_EQ(phases({{.path = 1, .stage = 3, .y = 0.95f}, {.path = 2, .stage = 3}}), (Phases{{2, 1}}));
    EXPECT_EQ(phases({{.path = 1, .y = 0.85f}, {.path = 2}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 1, .y = 0.75f}, {.path = 2}}), (Phases{{1, 1}, {2, 4}}));
    // 35 units away is close enough at the top edge.
    EXPECT_EQ(phases({{.path = 3, .stage = 3, .y = 0.95f}, {.path = 4, .stage = 3, .y = 0.9f}}),
              (Phases{{3, 1}, {4, 1}}));
}

TEST_F(MTTouchTrackerTest, ALightTouchBeginsOnlyOnceItIsFirm)
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
    // One that never became firm is still reported as ended when it lifts.
    EXPECT_EQ(phases({{.path = 1}, {.path = 2, .stage = 3, .z = 0.1f}}), (Phases{{1, 4}}));
    EXPECT_EQ(phases({{.path = 1}, {.path = 2, .stage = 5, .z = 0.1f}}), (Phases{{1, 4}, {2, 8}}));

    domain["filterLightTouches"] = 0.8;
    relaunch();
    EXPECT_EQ(phases({{.stage = 3, .z = 0.5f}}), Phases{});
    for (const double off : {-1.0, std::numeric_limits<double>::quiet_NaN()}) {
        domain["filterLightTouches"] = off;
        relaunch();
        EXPECT_EQ(phases({{.stage = 3, .z = 0.01f}}), (Phases{{1, 1}})) << off;
    }
}

TEST_F(MTTouchTrackerTest, ATouchGrowingLargeEndsOnceAndIsNeverSeenAgain)
{
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

TEST_F(MTTouchTrackerTest, AWristBesideAFingerIsHiddenWhileOnTheBottomEdge)
{
    domain["disableThumbRejection"] = true;
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

TEST_F(MTTouchTrackerTest, NaNValuesPassNoThreshold)
{
    // Not at an edge, not large, not moving.
    const auto event = frame(
        {{.path = 1, .stage = 3, .x = kNaN, .y = kNaN, .vx = kNaN, .vy = kNaN, .major = kNaN, .minor = kNaN},
         {.path = 2, .stage = 3}});
    ASSERT_TRUE(event);
    EXPECT_EQ(event->touchCount, 2);
    EXPECT_EQ(touchWithId(*event, 1).phase, TouchPhase::began);
    EXPECT_EQ(phases({{.path = 1, .vx = kNaN}, {.path = 2, .vx = 0.3f}}), (Phases{{1, 4}, {2, 2}}));

    // Not firm: held back until a real reading.
    EXPECT_EQ(phases({{.path = 2}, {.path = 3, .stage = 3, .z = kNaN}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 3}}), (Phases{{2, 4}, {3, 1}}));

    // A held palm is not let go on a position nobody can read, nor is a neighbour out of sight.
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .stage = 3, .x = 0.05f}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .x = kNaN}}), (Phases{{2, 4}}));
    EXPECT_EQ(phases({{.path = 2}, {.path = 4, .x = 0.5f, .y = 0.3f}}), (Phases{{2, 4}, {4, 1}}));
    EXPECT_EQ(phases({{.path = 5, .absolute = platform::MTPoint{kNaN, kInfinity}},
                      {.path = 6, .stage = 3, .x = 0.95f}}),
              (Phases{{5, 4}}));
}

TEST_F(MTTouchTrackerTest, AnOddStageLeavesALiveTouchAloneAndARepeatedPathEndsOnce)
{
    EXPECT_EQ(phases({{.stage = 3}}), (Phases{{1, 1}}));
    EXPECT_EQ(phases({{.stage = 99}}), Phases{});
    EXPECT_EQ(phases({{.stage = 4}}), (Phases{{1, 4}}));

    frame({{.path = 2, .stage = 3, .x = 0.4f}, {.path = 2, .stage = 3, .x = 0.6f}});
    EXPECT_EQ(phases({{.path = 2, .x = 0.4f}, {.path = 2, .x = 0.6f}}), (Phases{{2, 4}, {2, 4}}));
    EXPECT_EQ(phases({{.path = 2, .stage = 5, .x = 0.4f}, {.path = 2, .stage = 5, .x = 0.6f}}),
              (Phases{{2, 8}}));
}

TEST_F(MTTouchTrackerTest, GarbageFramesMakeOnlyWellFormedEventsAndSpoilNoLaterGesture)
{
    std::mt19937 random(7);
    const std::vector<float> values{0.0f,  0.02f, 0.1f, 0.5f,      0.95f,     1.0f,
                                    -3.0f, 40.0f, kNaN, kInfinity, -kInfinity};
    const auto pick = [&] { return values[random() % values.size()]; };
    for (int i = 0; i < 2000; ++i) {
        multitouch.deviceId = i % 3 == 0 ? kUnknownDeviceId : kBuiltInDeviceId;
        std::vector<MTTouch> contacts(random() % 6);
        for (MTTouch& contact : contacts) {
            contact = record({.path = static_cast<std::int32_t>(random() % 5),
                              .stage = static_cast<std::int32_t>(random() % 12) - 2,
                              .x = pick(),
                              .y = pick(),
                              .vx = pick(),
                              .vy = pick(),
                              .z = pick(),
                              .major = pick(),
                              .minor = pick(),
                              .absolute = platform::MTPoint{pick(), pick()}});
        }
        if (const auto event = tracker().processFrame(&device, contacts, 1.0)) {
            EXPECT_EQ(event->touchCount, static_cast<std::int64_t>(event->touches.size()));
            for (const Touch& touch : event->touches) {
                EXPECT_NE(TouchPhase::summaryWeight(touch.phase), 0) << touch.phase;
            }
        }
    }
    multitouch.deviceId = kBuiltInDeviceId;
    EXPECT_EQ(phases({{.path = 9, .stage = 3}}), (Phases{{9, 1}}));
    EXPECT_EQ(phases({{.path = 9, .stage = 4}}), (Phases{{9, 4}}));
}

}  // namespace
}  // namespace veltrane
