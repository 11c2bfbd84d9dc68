#pragma once

#include "core/Defaults.h"
#include "core/HyperFlags.h"
#include "platform/Event.h"

#include <cstdint>
#include <functional>

namespace veltrane {

// Applies the hyper state to every event the event tap lets through: while the hyper key or the
// slide gesture holds it, the event carries the hyper modifier set; otherwise Command and Option
// are swapped while they are held on a keyboard not made by Apple. Gesture events go, unchanged,
// to the gesture handler (the touch pipeline) when touches do not come from the multitouch
// framework. It runs for every event, so its hot path lives in the header where the tap's
// callback can inline it.
class HyperCGEventProcessor {
public:
    static constexpr platform::EventFlags kSyntheticFlag = 0x20000000;
    // Gesture events of this subtype carry no touches for the recognizer.
    static constexpr std::int64_t kIgnoredGestureSubtype = 6;

    using GestureHandler = std::function<void(const platform::Event& gestureEvent)>;

    HyperCGEventProcessor(const HyperFlags& hyperFlags, Defaults& defaults, GestureHandler gestures = {});

    void process(platform::Event& event)
    {
        if (event.type == platform::EventType::pressure) {
            return;
        }
        if (event.type == platform::EventType::gesture) {
            if (!usePrivateFramework_ && event.subtype != kIgnoredGestureSubtype && gestures_) {
                gestures_(event);
            }
            return;
        }
        const std::uint8_t state = hyperFlags_.state();
        if ((state & (HyperFlags::keyDownBit | HyperFlags::gestureDownBit)) != 0) {
            applyHyper(event);
        } else {
            swapCommandAndOption(event, state);
        }
    }

private:
    static constexpr std::uint16_t kLeftArrow = 123;  // left, right, down, up: 123 to 126
    static constexpr std::uint16_t kArrowCount = 4;

    void applyHyper(platform::Event& event) const
    {
        const bool isKey =
            event.type == platform::EventType::keyDown || event.type == platform::EventType::keyUp;
        const bool isArrow = isKey && static_cast<std::uint16_t>(event.keyCode - kLeftArrow) < kArrowCount;
        event.flags =
            (event.flags & ~(platform::kFlagCapsLock | platform::kFlagSecondaryFn | kSyntheticFlag)) |
            hyperFlags_.flags() | (isArrow ? platform::kFlagSecondaryFn : 0);
    }

    static void swapCommandAndOption(platform::Event& event, std::uint8_t state)
    {
        const bool command = (state & HyperFlags::commandDownBit) != 0;
        const bool option = (state & HyperFlags::optionDownBit) != 0;
        if (command != option) {
            const platform::EventFlags gained = command ? platform::kFlagOption : platform::kFlagCommand;
            const platform::EventFlags lost = command ? platform::kFlagCommand : platform::kFlagOption;
            event.flags = (event.flags & ~lost) | gained;
        }
    }

    const HyperFlags& hyperFlags_;
    const bool usePrivateFramework_;
    GestureHandler gestures_;
};

}  // namespace veltrane
