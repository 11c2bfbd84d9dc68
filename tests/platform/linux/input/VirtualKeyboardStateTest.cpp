#include "platform/linux/virtual/VirtualKeyboardState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using platform::EventFlags;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Pair;
using testing::UnorderedElementsAre;

constexpr EventFlags kControl = platform::kFlagControl;
constexpr EventFlags kOption = platform::kFlagOption;
constexpr EventFlags kCommand = platform::kFlagCommand;
constexpr EventFlags kShift = platform::kFlagShift;
constexpr EventFlags kHyper = kControl | kOption | kCommand | kShift;

using Written = std::vector<std::pair<std::uint16_t, std::int32_t>>;

const auto down = [](std::uint16_t code) { return Pair(code, 1); };
const auto up = [](std::uint16_t code) { return Pair(code, 0); };

// The key changes of a batch, after checking that each is a frame of its own.
Written keysOf(const OutputBatch& batch)
{
    Written keys;
    const auto events = batch.events();
    EXPECT_EQ(events.size() % 2, 0u);
    for (std::size_t i = 0; i + 1 < events.size(); i += 2) {
        EXPECT_EQ(events[i].type, EV_KEY);
        EXPECT_EQ(events[i + 1].type, EV_SYN);
        EXPECT_EQ(events[i + 1].code, SYN_REPORT);
        keys.emplace_back(events[i].code, events[i].value);
    }
    return keys;
}

class VirtualKeyboardStateTest : public testing::Test {
protected:
    Written key(std::uint16_t code, bool isDown, EventFlags flags)
    {
        batch_.clear();
        state_.key(code, isDown, flags, batch_);
        return keysOf(batch_);
    }

    Written modifier(std::uint16_t code, bool isDown, EventFlags flags, EventFlags physicalFlags)
    {
        batch_.clear();
        state_.modifierKey(code, isDown, flags, physicalFlags, batch_);
        return keysOf(batch_);
    }

    VirtualKeyboardState state_;
    OutputBatch batch_;
};

TEST_F(VirtualKeyboardStateTest, AModifierTheUserHoldsOnEitherSideCountsForHyper)
{
    EXPECT_THAT(modifier(KEY_RIGHTSHIFT, true, kShift, kShift), ElementsAre(down(KEY_RIGHTSHIFT)));
    EXPECT_THAT(modifier(KEY_LEFTMETA, true, kHyper, kShift | kCommand), IsEmpty());
    EXPECT_THAT(key(KEY_A, true, kHyper),
                ElementsAre(down(KEY_LEFTCTRL), down(KEY_LEFTALT), down(KEY_LEFTMETA), down(KEY_A)));

    // Hyper goes up; the user's Shift stays.
    EXPECT_THAT(key(KEY_A, false, kHyper), ElementsAre(up(KEY_A)));
    EXPECT_THAT(modifier(KEY_LEFTMETA, false, kShift, kShift),
                UnorderedElementsAre(up(KEY_LEFTCTRL), up(KEY_LEFTALT), up(KEY_LEFTMETA)));
    EXPECT_TRUE(state_.isDown(KEY_RIGHTSHIFT));
}

TEST_F(VirtualKeyboardStateTest, AModifierTheEngineTookAwayGoesUpBeforeTheKey)
{
    // Control held by the user, and a mapping that turns Control-H into a plain Backspace.
    modifier(KEY_LEFTCTRL, true, kControl, kControl);

    EXPECT_THAT(key(KEY_BACKSPACE, true, 0), ElementsAre(up(KEY_LEFTCTRL), down(KEY_BACKSPACE)));
}

// Neither a key already down nor a release presses the modifiers its flags hold; a modifier key whose
// flags the engine changed waits for a key press, so here it never goes down at all.
TEST_F(VirtualKeyboardStateTest, WritesEachKeyChangeOnceAndOnlyAPressPressesModifiers)
{
    key(KEY_A, true, 0);
    EXPECT_THAT(key(KEY_A, true, kHyper), IsEmpty());
    EXPECT_THAT(modifier(KEY_LEFTMETA, true, kHyper, kCommand), IsEmpty());
    EXPECT_THAT(key(KEY_A, false, kHyper), ElementsAre(up(KEY_A)));
    EXPECT_THAT(key(KEY_A, false, 0), IsEmpty());
    EXPECT_THAT(modifier(KEY_LEFTMETA, false, 0, 0), IsEmpty());
    EXPECT_THAT(modifier(KEY_RIGHTALT, false, 0, 0), IsEmpty());
}

// The tap of a key that is up is the caps lock following the application, in the key road's tests.
TEST_F(VirtualKeyboardStateTest, TapsAKeyEvenWhenItIsDown)
{
    key(KEY_CAPSLOCK, true, 0);
    batch_.clear();
    state_.tap(KEY_CAPSLOCK, batch_);
    EXPECT_THAT(keysOf(batch_), ElementsAre(up(KEY_CAPSLOCK), down(KEY_CAPSLOCK), up(KEY_CAPSLOCK)));
}

// The most a change writes fits its bound.
TEST_F(VirtualKeyboardStateTest, ReleasesEveryKeyAcrossAsManyBatchesAsItTakesAndAChangeFitsOne)
{
    // Keys that are no modifiers, more than one batch holds.
    constexpr std::uint16_t kHeld = 30;
    for (std::uint16_t code = KEY_F1; code < KEY_F1 + kHeld; ++code) {
        key(code, true, 0);
    }

    batch_.clear();
    EXPECT_FALSE(state_.releaseAll(batch_));
    Written released = keysOf(batch_);
    batch_.clear();
    EXPECT_TRUE(state_.releaseAll(batch_));
    const Written rest = keysOf(batch_);
    released.insert(released.end(), rest.begin(), rest.end());

    ASSERT_EQ(released.size(), kHeld);
    for (std::uint16_t i = 0; i < kHeld; ++i) {
        EXPECT_EQ(released[i], std::make_pair(static_cast<std::uint16_t>(KEY_F1 + i), 0));
        EXPECT_FALSE(state_.isDown(released[i].first));
    }

    const std::vector<std::pair<std::uint16_t, EventFlags>> modifiers = {
        {KEY_LEFTCTRL, kControl}, {KEY_RIGHTCTRL, kControl}, {KEY_LEFTALT, kOption},
        {KEY_RIGHTALT, kOption},  {KEY_LEFTMETA, kCommand},  {KEY_RIGHTMETA, kCommand},
        {KEY_LEFTSHIFT, kShift},  {KEY_RIGHTSHIFT, kShift}};
    EventFlags held = 0;
    for (const auto& [code, flag] : modifiers) {
        held |= flag;
        modifier(code, true, held, held);
    }

    key(KEY_A, true, 0);

    EXPECT_EQ(batch_.size(), VirtualKeyboardState::kMostEventsPerChange);
    EXPECT_EQ(keysOf(batch_).back(), std::make_pair(std::uint16_t{KEY_A}, 1));
}

}  // namespace
}  // namespace veltrane::linuxbackend
