#include "platform/sim/SimEventMonitors.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/SimEventMonitor.h"
#include "platform/sim/SimQueue.h"
#include "platform/sim/WindowServer.h"

namespace veltrane::sim {

SimEventMonitors::SimEventMonitors(DesktopLock& lock, WindowServer& windowServer, SimQueue& mainQueue,
                                   std::function<bool()> ownApplicationFrontmost)
    : lock_(lock), windowServer_(windowServer), mainQueue_(mainQueue),
      ownApplicationFrontmost_(std::move(ownApplicationFrontmost))
{
}

platform::EventMonitors::Token SimEventMonitors::addGlobalMonitorForEvents(platform::EventMask mask,
                                                                           GlobalHandler handler)
{
    return add(std::make_shared<SimEventMonitor>(lock_, mask, std::move(handler), nullptr,
                                                 mainQueue_.weak_from_this(), ownApplicationFrontmost_));
}

platform::EventMonitors::Token SimEventMonitors::addLocalMonitorForEvents(platform::EventMask mask,
                                                                          LocalHandler handler)
{
    return add(std::make_shared<SimEventMonitor>(lock_, mask, nullptr, std::move(handler),
                                                 mainQueue_.weak_from_this(), ownApplicationFrontmost_));
}

void SimEventMonitors::removeMonitor(Token token)
{
    const std::lock_guard guard(lock_);
    monitors_.erase(token);
}

platform::EventMonitors::Token SimEventMonitors::add(std::shared_ptr<SimEventMonitor> monitor)
{
    const std::lock_guard guard(lock_);
    windowServer_.addMonitor(monitor);
    const Token token = nextToken_++;
    monitors_.emplace(token, std::move(monitor));
    return token;
}

}  // namespace veltrane::sim
