#pragma once

#include "platform/Event.h"
#include "touch/DeviceType.h"
#include "touch/TouchBeginTimestamps.h"
#include "touch/TouchSet.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace veltrane {

// One frame of one device as the recognizer and the viewer see it, whichever source made it.
struct TouchEvent {
    TouchSet touches;
    double timestamp = 0.0;
    std::int64_t phaseHex = 0;
    std::int64_t rawPhaseHex = 0;
    // The tracker's begin times after this frame; shared, since they change only when a touch
    // begins or ends. Never null.
    std::shared_ptr<const TouchBeginTimestamps> touchBeginTimestamps;
    bool gestureEnded = false;
    bool gestureMoved = false;
    std::int64_t deviceId = 0;
    std::optional<DeviceType> deviceType;
    std::int64_t touchCount = 0;
    // The gesture event the touches came from (event-tap source only).
    std::optional<platform::Event> cgEvent;
};

// Where the trackers send their events: the shared slide recognizer.
using TouchEventHandler = std::function<void(const TouchEvent& event)>;

}  // namespace veltrane
