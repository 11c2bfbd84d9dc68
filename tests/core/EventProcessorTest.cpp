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

// Caps lock cleared and the set added to keys and clicks, arrows keeping Fn and home getting none,
// gesture events keeping their flags and the slide's hold bringing the set are in the
// hyper-key-variants, tap-timeout and touch-event-tap scenarios.
TEST_F(EventProcessorTest,
       TheHyperSetKeepsDeviceBitsClearsTheSyntheticFlagAndLeavesPressureAndCommandWithOption)
{
    hyperFlags.setKeyDown(true);

    EXPECT_EQ(processed(EventType::keyDown, 0, 0x110000 | 0x2).flags, 0x1E0002u);
    EXPECT_EQ(processed(EventType::flagsChanged, 123, 0x100000).flags, 0x1E0000u);
    EXPECT_EQ(processed(EventType::leftMouseDown, 0, 0x20010000).flags, 0x1E0000u);
    EXPECT_EQ(processed(EventType::pressure, 0, 0x10000).flags, 0x10000u);

    // Command and Option both held stay as they are; the swap while only one of them is held, and
    // none without either, are in the windows-keyboard-swap scenario.
    hyperFlags.setKeyDown(false);
    hyperFlags.setCommandDown(true);
    hyperFlags.setOptionDown(true);
    EXPECT_EQ(processed(EventType::keyDown, 8, 0x180000).flags, 0x180000u);
}

// How the switches are stored and read is in the settings tests; stored hyper flags in use are in
// the hyper-key-variants scenario, and nonsense ones fall back to the full set. Gesture events
// going to the touch pipeline, except those of subtype 6, are in the touch-event-tap scenario;
// with touches taken from the multitouch framework none goes there.
TEST_F(EventProcessorTest, SettingsShapeTheMaskTheHyperSetAndWhereGestureEventsGo)
{
    defaults.hyperFlags().setValue(-5);
    EXPECT_EQ(HyperFlags(defaults).flags(), HyperFlags::kDefaultFlags);
    EXPECT_EQ(EventMask::compute(defaults), 0x6001C1Eu);
    for (auto* setting : {&defaults.applyToClick(), &defaults.applyToDrag(), &defaults.applyToMove(),
                          &defaults.applyToScroll(), &defaults.oneSwipeFromTop()}) {
        setting->setEnabled(true);
    }
    EXPECT_EQ(EventMask::compute(defaults), 0x2E401CFEu);

    defaults.applyToClick().setEnabled(false);
    defaults.matchingEvents().setValue(std::int64_t{1} << 34);
    EXPECT_EQ(EventMask::compute(defaults), 0x428401CE0u);

    defaults.usePrivateFramework().setEnabled(true);
    bool routed = false;
    HyperCGEventProcessor framework(hyperFlags, defaults, [&](const Event&) { routed = true; });
    Event event{EventType::gesture, 0x10000, 0, 0, {}};
    framework.process(event);
    EXPECT_FALSE(routed);
    EXPECT_EQ(event.flags, 0x10000u);
}

}  // namespace
}  // namespace veltrane
