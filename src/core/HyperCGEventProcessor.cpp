#include "core/HyperCGEventProcessor.h"

namespace veltrane {

HyperCGEventProcessor::HyperCGEventProcessor(const HyperFlags& hyperFlags, Defaults& defaults,
                                             GestureHandler gestures)
    : hyperFlags_(hyperFlags), usePrivateFramework_(defaults.usePrivateFramework().enabled()),
      gestures_(std::move(gestures))
{
}

}  // namespace veltrane
