#pragma once

#include "touch/TouchEvent.h"

namespace veltrane {

// What the trackers hand touch events to besides the recognizer: the touch viewer, while it is
// showing. Both calls are made on the main queue.
class TouchViewer {
public:
    virtual ~TouchViewer() = default;

    virtual bool isShowing() const = 0;
    virtual void showTouches(const TouchEvent& event) = 0;
};

}  // namespace veltrane
