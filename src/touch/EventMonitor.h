#pragma once

#include "platform/EventMonitors.h"

#include <optional>

namespace veltrane {

// What the global and the local monitor share: a platform monitor installed between start() and
// stop() (or destruction). Each kind says how it adds itself.
class EventMonitor {
public:
    EventMonitor(platform::EventMonitors& monitors, platform::EventMask mask)
        : monitors_(monitors), mask_(mask)
    {
    }
    virtual ~EventMonitor();
    EventMonitor(const EventMonitor&) = delete;
    EventMonitor& operator=(const EventMonitor&) = delete;

    // Does nothing while the monitor is already installed.
    void start();
    void stop();

protected:
    virtual platform::EventMonitors::Token add(platform::EventMonitors& monitors,
                                               platform::EventMask mask) = 0;

private:
    platform::EventMonitors& monitors_;
    std::optional<platform::EventMonitors::Token> monitor_;
    platform::EventMask mask_;
};

}  // namespace veltrane
