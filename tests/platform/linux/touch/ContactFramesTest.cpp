#include "platform/linux/touch/ContactFrames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libevdev/libevdev.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using platform::MTTouch;
using testing::ElementsAre;
using testing::FloatEq;
using testing::Pointwise;
using Stages = std::vector<std::vector<std::pair<int, int>>>;

input_event event(std::uint16_t type, std::uint16_t code, std::int32_t value)
{
    return {.time = {}, .type = type, .code = code, .value = value};
}

template <std::uint16_t Code> input_event multitouch(int value)
{
    return event(EV_ABS, Code, value);
}
constexpr auto at = multitouch<ABS_MT_SLOT>, id = multitouch<ABS_MT_TRACKING_ID>,
               x = multitouch<ABS_MT_POSITION_X>, y = multitouch<ABS_MT_POSITION_Y>;

input_event report(int milliseconds)
{
    input_event end = event(EV_SYN, SYN_REPORT, 0);
    end.input_event_sec = milliseconds / 1000;
    end.input_event_usec = milliseconds % 1000 * 1000;
    return end;
}

// 100 mm by 50 mm at 10 units a millimetre, four slots, with pressure and contact sizes.
const TouchpadSurface kFullPad{.x = {0, 1000, 10},
                               .y = {0, 500, 10},
                               .major = {{0, 200, 0}},
                               .minor = {{0, 200, 0}},
                               .pressure = {{0, 255, 0}},
                               .slots = 4};

// A pad and every frame it delivered.
struct Pad {
    explicit Pad(const TouchpadSurface& surface = kFullPad)
        : frames(surface, [this](std::span<const MTTouch> contacts, double time) {
              delivered.emplace_back(contacts.begin(), contacts.end());
              times.push_back(time);
          })
    {
    }

    void feed(std::initializer_list<input_event> events)
    {
        for (const input_event& each : events) {
            frames.feed(each);
        }
    }

    // Each frame as (path, stage) pairs.
    Stages stages() const
    {
        Stages all;
        for (const auto& frame : delivered) {
            auto& pairs = all.emplace_back();
            for (const MTTouch& touch : frame) {
                pairs.emplace_back(touch.pathIndex, touch.stage);
            }
        }
        return all;
    }

    std::vector<std::vector<MTTouch>> delivered;
    std::vector<double> times;
    ContactFrames frames;
};

using Device = std::unique_ptr<libevdev, decltype(&libevdev_free)>;

Device device(std::initializer_list<std::pair<unsigned int, input_absinfo>> axes)
{
    Device made(libevdev_new(), &libevdev_free);
    for (const auto& [code, info] : axes) {
        libevdev_enable_event_code(made.get(), EV_ABS, code, &info);
    }
    return made;
}

input_absinfo axis(int minimum, int maximum, int resolution)
{
    return {
        .value = 0, .minimum = minimum, .maximum = maximum, .fuzz = 0, .flat = 0, .resolution = resolution};
}

TEST(ContactFrames, DescribesEachContactInTheFrameworksUnitsWithYGrowingUpward)
{
    Pad pad;
    pad.feed({at(0), id(10), x(500), y(100), event(EV_ABS, ABS_MT_PRESSURE, 51),
              event(EV_ABS, ABS_MT_TOUCH_MAJOR, 60), event(EV_ABS, ABS_MT_TOUCH_MINOR, 40), at(1), id(11),
              report(1000), at(0), x(600), report(1010)});
    ASSERT_EQ(pad.stages(), (Stages{{{0, 3}, {1, 3}}, {{0, 4}, {1, 4}}}));
    EXPECT_THAT(pad.times, ElementsAre(1.0, 1.01));
    const MTTouch& first = pad.delivered[0][0];
    EXPECT_EQ(first.timestamp, 1.0);
    EXPECT_EQ(first.fingerID, 0);
    EXPECT_THAT((std::array{first.normalizedVector.position.y, first.absoluteVector.position.y, first.zTotal,
                            first.majorAxis, first.minorAxis}),
                Pointwise(FloatEq(), {0.8f, 40.0f, 0.8f, 6.0f, 4.0f}));
    EXPECT_EQ(first.normalizedVector.velocity.x, 0.0f);
    const MTTouch& moved = pad.delivered[1][0];
    EXPECT_EQ(moved.frame, first.frame + 1);
    EXPECT_THAT(moved.normalizedVector.position.x, FloatEq(0.6f));
    EXPECT_NEAR(moved.normalizedVector.velocity.x, 10.0f, 1e-3);
    EXPECT_NEAR(moved.absoluteVector.velocity.x, 1000.0f, 0.1);
    EXPECT_EQ(pad.delivered[1][1].normalizedVector.velocity.x, 0.0f);
}

TEST(ContactFrames, ShowsALiftOnceWhileOthersStayAndSendsNoEmptyFrame)
{
    Pad pad;
    pad.feed({at(0), id(10), at(1), id(11), report(0), id(-1), report(10), at(0), x(300), report(10), id(-1),
              report(20), report(30), event(EV_KEY, BTN_TOUCH, 0), report(40)});
    ASSERT_EQ(pad.stages(), (Stages{{{0, 3}, {1, 3}}, {{0, 4}, {1, 5}}, {{0, 4}}, {{0, 5}}}));
    // A report at the time of the one before gives no velocity rather than an infinite one.
    EXPECT_EQ(pad.delivered[2][0].normalizedVector.velocity.x, 0.0f);
}

TEST(ContactFrames, LiftsTheContactOfATakenOverSlotInAFrameBeforeTheNewOneBegins)
{
    Pad pad;
    pad.feed({at(0), id(10), x(100), at(1), id(11), report(0), at(0), id(12), x(900), report(10)});
    ASSERT_EQ(pad.stages(), (Stages{{{0, 3}, {1, 3}}, {{0, 5}, {1, 4}}, {{0, 3}, {1, 4}}}));
    EXPECT_THAT(pad.times, ElementsAre(0.0, 0.01, 0.01));
    EXPECT_THAT(pad.delivered[1][0].normalizedVector.position.x, FloatEq(0.1f));
    EXPECT_THAT(pad.delivered[2][0].normalizedVector.position.x, FloatEq(0.9f));
    EXPECT_EQ(pad.delivered[2][0].normalizedVector.velocity.x, 0.0f);
    EXPECT_EQ(pad.delivered[2][0].frame, pad.delivered[1][0].frame + 1);

    // A contact that comes and goes between two reports is never shown; a lift and a new contact
    // in one slot take two frames as well.
    pad.delivered.clear();
    pad.feed({at(2), id(30), id(-1), at(1), id(-1), id(13), report(20)});
    ASSERT_EQ(pad.stages(), (Stages{{{0, 4}, {1, 5}}, {{0, 4}, {1, 3}}}));
}

// After an overflow libevdev replays what changed against what it handed out, then SYN_REPORT.
TEST(ContactFrames, TakesTheReplayAfterLostEventsAsOneFrame)
{
    Pad pad;
    pad.feed({at(0), id(10), at(1), id(11), report(0), at(0), x(400), event(EV_SYN, SYN_DROPPED, 0)});
    EXPECT_EQ(pad.delivered.size(), 1U);
    pad.feed({at(0), id(-1), at(2), id(12), x(700), report(50), report(60)});
    ASSERT_EQ(pad.stages(), (Stages{{{0, 3}, {1, 3}}, {{0, 5}, {1, 4}, {2, 3}}, {{1, 4}, {2, 4}}}));
    EXPECT_THAT(pad.delivered[1][0].normalizedVector.position.x, FloatEq(0.4f));
}

TEST(ContactFrames, SeedsTheContactsAlreadyDownAsTouchingAndTheSlotTheKernelAddresses)
{
    const Device touchpad = device({{ABS_MT_SLOT, axis(0, 3, 0)},
                                    {ABS_MT_TRACKING_ID, axis(-1, 65535, 0)},
                                    {ABS_MT_POSITION_X, axis(0, 1000, 10)},
                                    {ABS_MT_POSITION_Y, axis(0, 500, 10)}});
    libevdev_set_slot_value(touchpad.get(), 1, ABS_MT_TRACKING_ID, 7);
    libevdev_set_slot_value(touchpad.get(), 1, ABS_MT_POSITION_X, 200);
    libevdev_set_event_value(touchpad.get(), EV_ABS, ABS_MT_SLOT, 1);
    Pad pad;
    pad.frames.seed(touchpad.get());
    pad.frames.seed(9, {.trackingId = 8});
    pad.feed({report(0), x(300), report(10), id(-1), report(20)});
    ASSERT_EQ(pad.stages(), (Stages{{{1, 4}}, {{1, 4}}, {{1, 5}}}));
    EXPECT_EQ(pad.delivered[0][0].normalizedVector.velocity.x, 0.0f);
    EXPECT_NEAR(pad.delivered[1][0].normalizedVector.velocity.x, 10.0f, 1e-3);
}

// Many pads and virtual ones give no resolution; the rest here is what bad input may bring.
TEST(ContactFrames, CopesWithMissingAxesOddRangesAndOutOfRangeInput)
{
    const TouchpadSurface odd{.x = {-500, 500, 0}, .y = {0, 300, 0}, .slots = 2};
    EXPECT_EQ(odd.width(), 10000);
    EXPECT_EQ(odd.height(), 3000);
    Pad pad(odd);
    pad.feed({at(0), id(1), x(0), y(300), at(1), id(2), x(2000), y(-50), at(7), id(3), x(5), at(-1), y(5),
              event(EV_ABS, ABS_X, 9), event(EV_MSC, MSC_TIMESTAMP, 1), report(0)});
    ASSERT_EQ(pad.stages(), (Stages{{{0, 3}, {1, 3}}}));
    const MTTouch& centre = pad.delivered[0][0];
    EXPECT_THAT(centre.normalizedVector.position.x, FloatEq(0.5f));
    EXPECT_THAT(centre.absoluteVector.position.x, FloatEq(50.0f));
    EXPECT_EQ(
        (std::array{centre.normalizedVector.position.y, centre.zTotal, centre.majorAxis, centre.minorAxis}),
        (std::array{0.0f, 1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(pad.delivered[0][1].normalizedVector.position.x, 1.0f);
    EXPECT_THAT(pad.delivered[0][1].absoluteVector.position.y, FloatEq(30.0f));

    const TouchpadSurface flat{.x = {7, 7, 0}, .y = {3, 3, 5}, .major = {{0, 50, 0}}};
    EXPECT_EQ(flat.width(), 0);
    Pad point(flat);
    point.feed({id(1), x(9), event(EV_ABS, ABS_MT_TOUCH_MAJOR, 20), report(0)});
    const MTTouch& only = point.delivered.at(0).at(0);
    EXPECT_EQ(only.normalizedVector.position.x, 0.5f);
    EXPECT_EQ(only.normalizedVector.position.y, 0.5f);
    EXPECT_EQ(only.absoluteVector.position.x, 0.0f);
    EXPECT_EQ(only.minorAxis, only.majorAxis);
}

TEST(TouchpadSurface, ReadsTheMultitouchAxesAndBoundsTheSlots)
{
    const Device touchpad = device({{ABS_MT_SLOT, axis(0, 4, 0)},
                                    {ABS_MT_POSITION_X, axis(0, 1200, 12)},
                                    {ABS_MT_POSITION_Y, axis(-100, 700, 0)},
                                    {ABS_MT_PRESSURE, axis(0, 255, 0)},
                                    {ABS_X, axis(0, 5, 1)}});
    const TouchpadSurface surface = TouchpadSurface::read(touchpad.get());
    EXPECT_EQ(surface.x, (TouchpadAxis{0, 1200, 12}));
    EXPECT_EQ(surface.y, (TouchpadAxis{-100, 700, 0}));
    EXPECT_EQ(surface.pressure, (TouchpadAxis{0, 255, 0}));
    EXPECT_FALSE(surface.major);
    EXPECT_FALSE(surface.minor);
    EXPECT_EQ(surface.width(), 10000);
    EXPECT_EQ(surface.height(), 6667);

    EXPECT_EQ(TouchpadSurface::read(device({{ABS_MT_SLOT, axis(0, 99, 0)}}).get()).slots, 32);
    const TouchpadSurface none = TouchpadSurface::read(device({}).get());
    EXPECT_EQ(none.slots, 1);
    EXPECT_EQ(none.width(), 0);
}

}  // namespace
}  // namespace veltrane::linuxbackend
