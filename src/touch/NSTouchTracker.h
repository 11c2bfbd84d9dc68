#pragma once

#include "platform/Event.h"
#include "touch/StringIdCache.h"
#include "touch/TouchBeginTimes.h"
#include "touch/TouchEvent.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_set>

namespace veltrane {

// Turns the gesture events of the event tap into touch events. A thumb resting on the bottom edge
// while other fingers work is reported as ended once and then hidden, until it moves up, the
// other fingers lift, or it lifts itself. Used on the event tap's thread only.
class NSTouchTracker {
public:
    TouchEvent touchEvent(const platform::Event& gestureEvent);

private:
    std::optional<Touch> makeTouch(const platform::GestureTouch& touch, std::size_t allCount,
                                   double timestamp);
    std::int64_t rejectBottomThumb(double timestamp, std::int64_t id, float y, std::int64_t phase,
                                   std::size_t allCount);

    TouchBeginTimes touchBeginTimestamps_;
    StringIdCache stringIds_;
    std::unordered_set<std::int64_t> restingBottomThumb_;
};

}  // namespace veltrane
