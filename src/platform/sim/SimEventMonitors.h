#pragma once

#include "platform/EventMonitors.h"

#include <functional>
#include <map>
#include <memory>

namespace veltrane::sim {

class DesktopLock;
class SimEventMonitor;
class SimQueue;
class WindowServer;

// The event monitors of one process; removing a monitor takes it out of the event stream.
class SimEventMonitors final : public platform::EventMonitors {
public:
    SimEventMonitors(DesktopLock& lock, WindowServer& windowServer, SimQueue& mainQueue,
                     std::function<bool()> ownApplicationFrontmost);

    Token addGlobalMonitorForEvents(platform::EventMask mask, GlobalHandler handler) override;
    Token addLocalMonitorForEvents(platform::EventMask mask, LocalHandler handler) override;
    void removeMonitor(Token token) override;

private:
    Token add(std::shared_ptr<SimEventMonitor> monitor);

    DesktopLock& lock_;
    WindowServer& windowServer_;
    SimQueue& mainQueue_;
    std::function<bool()> ownApplicationFrontmost_;
    std::map<Token, std::shared_ptr<SimEventMonitor>> monitors_;
    Token nextToken_ = 1;
};

}  // namespace veltrane::sim
