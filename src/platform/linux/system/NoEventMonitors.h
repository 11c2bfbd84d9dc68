#pragma once

#include "platform/EventMonitors.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <utility>

namespace veltrane::linuxbackend {

// Event monitors of a program that sees no other application's events: the monitors are accepted
// and never called. The first one added has the log say once what is lost, and why.
class NoEventMonitors final : public platform::EventMonitors {
public:
    using Log = std::function<void(const std::string& line)>;

    NoEventMonitors(Log log, std::string notice) : log_(std::move(log)), notice_(std::move(notice)) {}

    Token addGlobalMonitorForEvents(platform::EventMask, GlobalHandler) override { return accept(); }
    Token addLocalMonitorForEvents(platform::EventMask, LocalHandler) override { return accept(); }
    void removeMonitor(Token) override {}

private:
    Token accept()
    {
        std::call_once(told_, [this] { log_(notice_); });
        return nextToken_++;
    }

    Log log_;
    std::string notice_;
    std::once_flag told_;
    std::atomic<Token> nextToken_ = 1;
};

}  // namespace veltrane::linuxbackend
