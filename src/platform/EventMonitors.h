#pragma once

#include "platform/Event.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace veltrane::platform {

// Watches pointer and key events on their way to applications. Handlers run on the main queue.
// A global monitor sees copies of events sent to other applications; a local monitor sees the
// events sent to this application and returns the event to deliver, or nothing to swallow it.
// Monitors may be added and removed from any thread.
class EventMonitors {
public:
    using Token = std::uint64_t;
    using GlobalHandler = std::function<void(const std::optional<Event>& event)>;
    using LocalHandler = std::function<std::optional<Event>(const Event& event)>;

    virtual ~EventMonitors() = default;

    virtual Token addGlobalMonitorForEvents(EventMask mask, GlobalHandler handler) = 0;
    virtual Token addLocalMonitorForEvents(EventMask mask, LocalHandler handler) = 0;
    virtual void removeMonitor(Token token) = 0;
};

}  // namespace veltrane::platform
