#pragma once

#include "platform/Event.h"

#include <functional>
#include <memory>

namespace veltrane::platform {

// An active filter at the head of the session's event stream. It starts disabled; while enabled
// and not invalidated, its callback sees every event whose type is in its mask and may change the
// event in place. The callback also receives the notices tapDisabledByTimeout and
// tapDisabledByUserInput (with an empty event) when the system switches the tap off.
// Releasing the last reference removes the tap from the stream.
class EventTap {
public:
    virtual ~EventTap() = default;

    virtual void enable(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    // Stops delivery for good; the tap can no longer be enabled.
    virtual void invalidate() = 0;
};

class EventTapService {
public:
    using Callback = std::function<void(EventType type, Event& event)>;

    virtual ~EventTapService() = default;

    // Creates a session-level tap; its callback runs on the queue that created it (the main
    // queue). Nothing when the system refuses, as it does without the accessibility permission.
    virtual std::shared_ptr<EventTap> createTap(EventMask mask, Callback callback) = 0;
};

}  // namespace veltrane::platform
