#include "touch/GestureEventRouter.h"

namespace veltrane {

void GestureEventRouter::route(const platform::Event& gestureEvent)
{
    const TouchEvent touchEvent = tracker_.touchEvent(gestureEvent);
    if (recognize_) {
        recognize_(touchEvent);
    }
    if (viewer_ != nullptr && viewer_->isShowing()) {
        viewer_->showTouches(touchEvent);
    }
}

}  // namespace veltrane
