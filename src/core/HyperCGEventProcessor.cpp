#include "core/HyperCGEventProcessor.h"

namespace veltrane {

HyperCGEventProcessor::HyperCGEventProcessor(const HyperFlags& hyperFlags, Defaults& defaults,
                                             TouchEventHandler recognize, TouchViewer* viewer)
    : hyperFlags_(hyperFlags), usePrivateFramework_(defaults.usePrivateFramework().enabled()),
      recognize_(std::move(recognize)), viewer_(viewer)
{
}

void HyperCGEventProcessor::routeGesture(const platform::Event& event)
{
    const TouchEvent touchEvent = nsTouchTracker_.touchEvent(event);
    if (recognize_) {
        recognize_(touchEvent);
    }
    if (viewer_ != nullptr && viewer_->isShowing()) {
        viewer_->showTouches(touchEvent);
    }
}

}  // namespace veltrane
