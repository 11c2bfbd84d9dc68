#include "core/EventMask.h"

namespace veltrane {

platform::EventMask EventMask::compute(Defaults& defaults)
{
    platform::EventMask mask = kKeys;
    mask |= defaults.applyToClick().isOff() ? 0 : kClick;
    mask |= defaults.applyToDrag().isOn() ? kDrag : 0;
    mask |= defaults.applyToMove().isOn() ? kMove : 0;
    mask |= defaults.applyToScroll().isOn() ? kScroll : 0;
    mask |= defaults.oneSwipeFromTop().isOn() ? kGesture : 0;
    // Extra types for those who know the platform's numbers; taken as the bit pattern it is.
    return mask | static_cast<platform::EventMask>(defaults.matchingEvents().value());
}

}  // namespace veltrane
