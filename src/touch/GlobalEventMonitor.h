#pragma once

#include "platform/EventMonitors.h"

#include <optional>

namespace veltrane {

// A platform monitor of the events sent to other applications, installed between start() and
// stop() (or destruction).
class GlobalEventMonitor {
public:
    using Handler = platform::EventMonitors::GlobalHandler;

    GlobalEventMonitor(platform::EventMonitors& monitors, platform::EventMask mask, Handler handler);
    ~GlobalEventMonitor();
    GlobalEventMonitor(const GlobalEventMonitor&) = delete;
    GlobalEventMonitor& operator=(const GlobalEventMonitor&) = delete;

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
