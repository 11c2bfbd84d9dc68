#include "touch/NSTouchTracker.h"

#include "touch/TouchPhase.h"

#include <utility>
#include <vector>

namespace veltrane {

namespace {

constexpr float kThumbEdge = 0.03f;         // a resting thumb lies below this height
constexpr float kThumbReleaseEdge = 0.08f;  // and comes back once above this one
constexpr double kThumbRestTime = 0.1;      // seconds down before it counts as resting

// Whether the finger has left the surface in this event.
bool isLift(std::int64_t phase)
{
    return phase == TouchPhase::ended || phase == TouchPhase::cancelled;
}

}  // namespace

TouchEvent NSTouchTracker::touchEvent(const platform::Event& gestureEvent)
{
    static const std::vector<platform::GestureTouch> kNoTouches;
    const auto& all = gestureEvent.touches ? *gestureEvent.touches : kNoTouches;

    TouchEvent result;
    result.timestamp = gestureEvent.timestamp;
    result.deviceId = gestureEvent.deviceId;
    std::size_t moving = 0;
    for (const auto& touch : all) {
        result.rawPhaseHex += TouchPhase::summaryWeight(touch.phase);
        if (auto made = makeTouch(touch, all.size(), gestureEvent.timestamp)) {
            const bool isMoving = made->phase == TouchPhase::moved;
            if (result.touches.insert(*made) && isMoving) {
                ++moving;
            }
        }
    }
    for (const Touch& touch : result.touches) {
        result.phaseHex += TouchPhase::summaryWeight(touch.phase);
    }
    result.gestureEnded = result.phaseHex > 0 && (result.phaseHex & 0xFF) == 0;
    if (result.gestureEnded) {
        touchBeginTimestamps_.clear();
    }
    result.gestureMoved = moving == result.touches.size();
    result.touchBeginTimestamps = touchBeginTimestamps_.snapshot();
    result.touchCount = static_cast<std::int64_t>(result.touches.size());
    result.cgEvent = gestureEvent;
    return result;
}

std::optional<Touch> NSTouchTracker::makeTouch(const platform::GestureTouch& touch, std::size_t allCount,
                                               double timestamp)
{
    const std::int64_t id = touch.identityHash;
    const TouchPoint pos{static_cast<float>(touch.normalizedPosition.x),
                         static_cast<float>(touch.normalizedPosition.y)};
    const std::int64_t phase = rejectBottomThumb(timestamp, id, pos.y, touch.phase, allCount);
    if (phase == TouchPhase::began) {
        touchBeginTimestamps_.set(id, timestamp);
    }
    const auto beginTime = touchBeginTimestamps_.find(id);
    // A lift forgets the begin time even when the touch is hidden or cancelled: a stale one would
    // make a later contact with the same identity look long-resting.
    if (isLift(phase) || isLift(touch.phase)) {
        touchBeginTimestamps_.erase(id);
    }
    if (phase == TouchPhase::none) {
        return std::nullopt;
    }
    Touch made;
    made.pos = pos;
    made.phase = phase;
    made.rawPhase = touch.phase;
    made.deviceWidth = static_cast<float>(touch.deviceSize.x);
    made.deviceHeight = static_cast<float>(touch.deviceSize.y);
    made.id = id;
    made.stringId = stringIds_.of(id, beginTime);
    made.touchOrigin = TouchOrigin::nsEvent;
    return made;
}

std::int64_t NSTouchTracker::rejectBottomThumb(double timestamp, std::int64_t id, float y, std::int64_t phase,
                                               std::size_t allCount)
{
    if (phase == TouchPhase::none) {
        return TouchPhase::none;
    }
    if (!restingBottomThumb_.contains(id)) {
        const auto beginTime = touchBeginTimestamps_.find(id);
        if (y < kThumbEdge && allCount >= 2 && beginTime && timestamp - *beginTime > kThumbRestTime) {
            restingBottomThumb_.insert(id);
            return TouchPhase::ended;
        }
        return phase;
    }
    // A hidden thumb that lifts stays hidden; it must not come back as a touch that begins as it
    // leaves, even when it is the last finger.
    if (isLift(phase)) {
        restingBottomThumb_.erase(id);
        return TouchPhase::none;
    }
    if (allCount > 1 && !(y > kThumbReleaseEdge)) {
        return TouchPhase::none;
    }
    restingBottomThumb_.erase(id);
    return TouchPhase::began;
}

}  // namespace veltrane
