#pragma once

#include "platform/EventMonitors.h"

#include <optional>

namespace veltrane {

// A platform monitor of the events sent to this application, installed between start() and stop()
// (or destruction). Its handler returns the event to deliver, or nothing to swallow it.
class LocalEventMonitor {
public:
    using Handler = platform::EventMonitors::LocalHandler;

    LocalEventMonitor(platform::EventMonitors& monitors, platform::EventMask mask, Handler handler);
    ~LocalEventMonitor();
    LocalEventMonitor(const LocalEventMonitor&) = delete;
    LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

    // Does nothing while the monitor is already installed.
    void start();
    void stop();

private:
    platform::EventMonitors& monitors_;
    std::optional<platform::EventMonitors::Token> monitor_;
    platform::EventMask mask_;
    Handler handler_;
};

}  // namespace veltrane
