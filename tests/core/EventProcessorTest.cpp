#include "core/EventMask.h"
#include "core/HyperCGEventProcessor.h"
#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

using platform::Event;
using platform::EventType;

class EventProcessorTest : public ::testing::Test {
protected:
    Event processed(EventType type, std::uint16_t keyCode, platform::EventFlags flags)
    {
        Event event{type, flags, keyCode, 0, {}};
        processor.process(event);
        return event;
    }

    platform::DefaultsDomain domain;
    sim::SimUserDefaults store{domain};
    Defaults defaults{store};
    HyperFlags hyperFlags{defaults};
    HyperCGEventProcessor processor{hyperFlags, defaults};
};

// A left arrow keeping Fn and home getting none are in the arrows-keep-fn scenario.
TEST_F(EventProcessorTest, TheHyperSetReplacesCapsLockAndFnAndArrowsKeepFn)
{
    hyperFlags.setKeyDown(true);

    EXPECT_EQ(processed(EventType::keyDown, 0, 0x110000 | 0x2).flags, 0x1E0002u);
    EXPECT_EQ(processed(EventType::keyUp, 126, 0).flags, 0x9E0000u);
    EXPECT_EQ(processed(EventType::flagsChanged, 123, 0x100000).flags, 0x1E0000u);
    EXPECT_EQ(processed(EventType::leftMouseDown, 0, 0x20010000).flags, 0x1E0000u);
    EXPECT_EQ(processed(EventType::pressure, 0, 0x10000).flags, 0x10000u);
    EXPECT_EQ(processed(EventType::gesture, 0, 0x10000).flags, 0x10000u);

    hyperFlags.setKeyDown(false);
    hyperFlags.setGestureDown(true);
    EXPECT_EQ(processed(EventType::scrollWheel, 0, 0).flags, 0x1E0000u);
}

// The swap while only one of them is held, and none without either, are in the
// windows-keyboard-swap scenario.
TEST_F(EventProcessorTest, CommandAndOptionBothHeldStayAsTheyAre)
{
    hyperFlags.setCommandDown(true);
    hyperFlags.setOptionDown(true);
    EXPECT_EQ(processed(EventType::keyDown, 8, 0x180000).flags, 0x180000u);
}

// Stored hyper flags in use are in the hyper-without-shift scenario.
TEST_F(EventProcessorTest, NonsenseStoredHyperFlagsFallBackToTheFullSet)
{
    domain["hyperFlags"] = std::int64_t{-5};
    sim::SimUserDefaults negative(domain);
    Defaults withNegative(negative);
    EXPECT_EQ(HyperFlags(withNegative).flags(), HyperFlags::kDefaultFlags);
}

TEST_F(EventProcessorTest, TheMaskFollowsTheMouseAndGestureSettings)
{
    EXPECT_EQ(EventMask::compute(defaults), 0x6001C1Eu);

    for (const char* key :
         {"applyToClick", "applyToDrag", "applyToMove", "applyToScroll", "oneSwipeFromTop"}) {
        domain[key] = std::int64_t{1};
    }
    sim::SimUserDefaults allOn(domain);
    Defaults all(allOn);
    EXPECT_EQ(EventMask::compute(all), 0x2E401CFEu);

    domain["applyToClick"] = std::int64_t{2};
    domain["matchingEvents"] = std::int64_t{1} << 34;
    sim::SimUserDefaults extra(domain);
    Defaults withExtra(extra);
    EXPECT_EQ(EventMask::compute(withExtra), 0x428401CE0u);
}

// Gesture events keep their flags; they go to the touch pipeline only when touches are not taken
// from the multitouch framework, and never with subtype 6.
TEST_F(EventProcessorTest, GestureEventsGoToTheTouchPipelineOnlyWithoutThePrivateFramework)
{
    std::vector<std::int64_t> routed;
    auto route = [&](const Event& event) { routed.push_back(event.subtype); };
    HyperCGEventProcessor routing(hyperFlags, defaults, route);
    for (const std::int64_t subtype : {0, 6, 9}) {
        Event event{EventType::gesture, 0x10000, 0, subtype, {}};
        routing.process(event);
        EXPECT_EQ(event.flags, 0x10000u);
    }
    EXPECT_EQ(routed, (std::vector<std::int64_t>{0, 9}));

    domain["usePrivateFramework"] = true;
    sim::SimUserDefaults withFramework(domain);
    Defaults frameworkDefaults(withFramework);
    HyperCGEventProcessor notRouting(hyperFlags, frameworkDefaults, route);
    Event event{EventType::gesture, 0x10000, 0, 0, {}};
    notRouting.process(event);
    EXPECT_EQ(routed.size(), 2u);
}

}  // namespace
}  // namespace veltrane
