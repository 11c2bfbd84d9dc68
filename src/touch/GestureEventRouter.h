#pragma once

#include "platform/Event.h"
#include "touch/NSTouchTracker.h"
#include "touch/TouchEvent.h"
#include "touch/TouchViewer.h"

namespace veltrane {

// Where the event tap's gesture events go when touches do not come from the multitouch
// framework: through the event-tap tracker to the recognizer, and to the viewer while it shows.
// Used on the event tap's queue only.
class GestureEventRouter {
public:
    GestureEventRouter(TouchEventHandler recognize, TouchViewer* viewer)
        : recognize_(std::move(recognize)), viewer_(viewer)
    {
    }

    void route(const platform::Event& gestureEvent);

private:
    NSTouchTracker tracker_;
    TouchEventHandler recognize_;
    TouchViewer* viewer_;
};

}  // namespace veltrane
