#pragma once

#include "core/Defaults.h"
#include "platform/Event.h"

namespace veltrane {

// The event types the event tap listens to, from the settings.
class EventMask {
public:
    static constexpr platform::EventMask kKeys = 0x1C00;         // key down, key up, flags changed
    static constexpr platform::EventMask kClick = 0x600001E;     // mouse buttons down and up
    static constexpr platform::EventMask kDrag = 0x80000C0;      // mouse drags
    static constexpr platform::EventMask kMove = 0x20;           // mouse moved
    static constexpr platform::EventMask kScroll = 0x400000;     // scroll wheel
    static constexpr platform::EventMask kGesture = 0x20000000;  // gesture

    static platform::EventMask compute(Defaults& defaults);
};

}  // namespace veltrane
