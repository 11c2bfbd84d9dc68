#pragma once

#include "touch/TouchEvent.h"

namespace veltrane {

// What the trackers hand touch events to besides the recognizer: the touch viewer, while it is
// showing. isShowing may be asked on any thread; everything else happens on the main queue.
class TouchViewer {
public:
    virtual ~TouchViewer() = default;

    virtual bool isShowing() const = 0;
    virtual void showTouches(const TouchEvent& event) = 0;
    // A viewer that only watches the events, and is never switched from the menus, needs neither.
    virtual void switchOn() {}
    // Lets every device whose window the user closed open one again at its next touches.
    virtual void resetClosedViewers() {}
};

}  // namespace veltrane
