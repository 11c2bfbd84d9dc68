#pragma once

#include "core/Defaults.h"
#include "core/HyperFlags.h"
#include "core/HyperIndicator.h"
#include "core/KeyPresser.h"
#include "platform/Platform.h"
#include "touch/CursorFreeze.h"
#include "touch/OneDrawGesture.h"
#include "touch/TouchEvent.h"

#include <mutex>
#include <optional>

namespace veltrane {

// Recognises a one-finger slide from the top edge or a corner of the trackpad and, once the finger
// has gone far enough, holds the hyper state (with a Command key down) until the finger lifts or
// a second one lands. The pointer is held still while the slide is drawn.
//
// recognize() takes the recognizer's lock, so frames from the framework's thread and gesture
// events on the main queue may both arrive.
class OneDrawRecognizer {
public:
    OneDrawRecognizer(const platform::Platform& platform, Defaults& defaults, HyperFlags& hyperFlags,
                      KeyPresser& keyPresser, HyperIndicator& indicator);
    OneDrawRecognizer(const OneDrawRecognizer&) = delete;
    OneDrawRecognizer& operator=(const OneDrawRecognizer&) = delete;

    void recognize(const TouchEvent& event);

private:
    void startGesture(const Touch& touch, const TouchEvent& event);
    OneDrawGesture matchStart(const Touch& touch) const;
    void trackGesture(const Touch& touch);
    void trackSlideDown(const Touch& touch);
    void trackCorner(const Touch& touch);
    void beginHyperSlide();
    void playHaptic();
    void endGesture();

    const platform::Platform& platform_;
    Defaults& defaults_;
    HyperFlags& hyperFlags_;
    KeyPresser& keyPresser_;
    HyperIndicator& indicator_;
    std::mutex mutex_;
    CursorFreeze cursorFreeze_;
    OneDrawGesture gestureMatch_;
    std::optional<TouchPoint> initialTouchPos_;
    // Framework touches measure the surface in units this many times smaller than a point.
    const float defFactor_;
};

}  // namespace veltrane
