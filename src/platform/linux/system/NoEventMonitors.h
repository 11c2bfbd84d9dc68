#pragma once

#include "platform/EventMonitors.h"

#include <atomic>

namespace veltrane::linuxbackend {

// Event monitors of a program that sees no other application's events: the monitors are accepted
// and never called.
class NoEventMonitors final : public platform::EventMonitors {
public:
    Token addGlobalMonitorForEvents(platform::EventMask, GlobalHandler) override { return nextToken_++; }
    Token addLocalMonitorForEvents(platform::EventMask, LocalHandler) override { return nextToken_++; }
    void removeMonitor(Token) override {}

private:
    std::atomic<Token> nextToken_ = 1;
};

}  // namespace veltrane::linuxbackend
