#include "touch/OneDrawRecognizer.h"

#include "touch/TouchPhase.h"

#include <cmath>

namespace veltrane {

namespace {

constexpr std::uint16_t kCommandKey = 55;
constexpr float kFrameworkUnitsPerPoint = 35.0f;
constexpr double kHapticRepeatDelays[] = {0.03, 0.06};

bool isDown(std::int64_t phase)
{
    return phase == TouchPhase::began || phase == TouchPhase::moved || phase == TouchPhase::stationary;
}

bool hasFiniteGeometry(const Touch& touch)
{
    return std::isfinite(touch.pos.x) && std::isfinite(touch.pos.y) && std::isfinite(touch.deviceWidth) &&
           std::isfinite(touch.deviceHeight);
}

TouchPoint deviceCoordinates(const Touch& touch)
{
    return {touch.pos.x * touch.deviceWidth, touch.pos.y * touch.deviceHeight};
}

}  // namespace

OneDrawRecognizer::OneDrawRecognizer(const platform::Platform& platform, Defaults& defaults,
                                     HyperFlags& hyperFlags, KeyPresser& keyPresser, HyperIndicator& indicator)
    : platform_(platform), defaults_(defaults), hyperFlags_(hyperFlags), keyPresser_(keyPresser),
      indicator_(indicator), cursorFreeze_(platform.eventMonitors, platform.eventPoster),
      defFactor_(defaults.usePrivateFramework().enabled() ? kFrameworkUnitsPerPoint : 1.0f)
{
}

void OneDrawRecognizer::recognize(const TouchEvent& event)
{
    const std::lock_guard lock(mutex_);
    if (event.touchCount != 1 || event.touches.size() != 1) {
        endGesture();
        return;
    }
    const Touch& touch = *event.touches.begin();
    // A cancelled touch ends the slide like a lift, although it does not end the gesture.
    if (event.gestureEnded || !isDown(touch.phase)) {
        endGesture();
        return;
    }
    if (!hasFiniteGeometry(touch)) {
        return;
    }
    if (!gestureMatch_.isEmpty()) {
        trackGesture(touch);
    } else if (touch.phase == TouchPhase::began) {
        startGesture(touch, event);
    }
}

void OneDrawRecognizer::startGesture(const Touch& touch, const TouchEvent& event)
{
    OneDrawGesture match = matchStart(touch) & OneDrawGesture{defaults_.gestures().value()};
    if (match.contains(OneDrawGesture::slideDown) && match != OneDrawGesture::slideDown) {
        // A corner wins over the top band.
        match = match.subtracting(OneDrawGesture::slideDown);
    }
    gestureMatch_ = match;
    if (match.isEmpty()) {
        return;
    }
    initialTouchPos_ = deviceCoordinates(touch);
    cursorFreeze_.freeze(event.cgEvent ? std::optional(event.cgEvent->location) : std::nullopt);
}

OneDrawGesture OneDrawRecognizer::matchStart(const Touch& touch) const
{
    using G = OneDrawGesture;
    const float width = touch.deviceWidth;
    const float height = touch.deviceHeight;
    const auto [x, y] = deviceCoordinates(touch);
    const float min = defaults_.cornerStartMin().value() * defFactor_;
    const float max = defaults_.cornerStartMax().value() * defFactor_;
    if (y > height - min) {
        return x < max ? G::topLeftCorner | G::slideDown
                       : (x > width - max ? G::topRightCorner | G::slideDown : G::slideDown);
    }
    if (x < min) {
        return y < max ? G::bottomLeftCorner : (y > height - max ? G::topLeftCorner : G{});
    }
    if (y < min) {
        return x < max ? G::bottomLeftCorner : (x > width - max ? G::bottomRightCorner : G{});
    }
    if (x > width - min) {
        return y < max ? G::bottomRightCorner : (y > height - max ? G::topRightCorner : G{});
    }
    return {};
}

void OneDrawRecognizer::trackGesture(const Touch& touch)
{
    if (gestureMatch_ == OneDrawGesture::slideDown) {
        trackSlideDown(touch);
    } else {
        trackCorner(touch);
    }
}

void OneDrawRecognizer::trackSlideDown(const Touch& touch)
{
    // Judged by how far below the top edge the finger is, not by how far it has travelled.
    float distance = touch.deviceHeight - deviceCoordinates(touch).y;
    if (touch.touchOrigin == TouchOrigin::mtEvent) {
        distance /= kFrameworkUnitsPerPoint;
    }
    if (!hyperFlags_.gestureDown() && distance > defaults_.oneTopTriggerThreshold().value()) {
        beginHyperSlide();
    }
    if (distance > defaults_.oneTopCursorFreezeThreshold().value()) {
        cursorFreeze_.unfreeze();
    }
}

void OneDrawRecognizer::trackCorner(const Touch& touch)
{
    if (!initialTouchPos_) {
        return;
    }
    const TouchPoint position = deviceCoordinates(touch);
    const float dx = position.x - initialTouchPos_->x;
    const float dy = position.y - initialTouchPos_->y;
    // Only the diagonal counts, in either direction. Off it, the slide is abandoned and the touch
    // ignored until the gesture ends.
    if (std::fabs(std::fabs(dx) - std::fabs(dy)) > defaults_.cornerMaxXYDiff().value() * defFactor_) {
        gestureMatch_ = {};
        cursorFreeze_.unfreeze();
        return;
    }
    const float distance = std::hypot(dx, dy);
    if (!hyperFlags_.gestureDown() && distance > defaults_.cornerTriggerThreshold().value() * defFactor_) {
        beginHyperSlide();
    }
    if (distance > defaults_.cornerFreezeThreshold().value() * defFactor_) {
        cursorFreeze_.unfreeze();
    }
}

void OneDrawRecognizer::beginHyperSlide()
{
    if (defaults_.hapticFeedback().isOn()) {
        playHaptic();
    }
    keyPresser_.post(kCommandKey, true);
    hyperFlags_.setGestureDown(true);
    if (defaults_.changeMenuBarIcon().isOn()) {
        indicator_.showHyper(true);
    }
}

void OneDrawRecognizer::playHaptic()
{
    platform::System& system = platform_.system;
    system.performHapticFeedback();
    for (const double delay : kHapticRepeatDelays) {
        platform_.dispatch.mainQueue().asyncAfter(delay, [&system] { system.performHapticFeedback(); });
    }
}

void OneDrawRecognizer::endGesture()
{
    if (hyperFlags_.gestureDown()) {
        hyperFlags_.setGestureDown(false);
        keyPresser_.post(kCommandKey, false);
        if (defaults_.changeMenuBarIcon().isOn()) {
            indicator_.showHyper(false);
        }
    }
    if (cursorFreeze_.frozen()) {
        cursorFreeze_.unfreeze();
    }
    gestureMatch_ = {};
    initialTouchPos_.reset();
}

}  // namespace veltrane
