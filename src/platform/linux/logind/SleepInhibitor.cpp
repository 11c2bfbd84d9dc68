#include "platform/linux/logind/SleepInhibitor.h"

#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/logind/LogindMessages.h"
#include "platform/linux/logind/LogindNames.h"

#include <fcntl.h>

#include <cerrno>
#include <stdexcept>

namespace veltrane::linuxbackend {

SleepInhibitor::SleepInhibitor(sd_bus* bus, const LogindMonitor::Callbacks& callbacks)
    : bus_(bus), callbacks_(callbacks)
{
    const int result = sd_bus_match_signal(
        bus_, nullptr, logindService, logindManagerPath, logindManagerInterface, "PrepareForSleep",
        forwardTo<SleepInhibitor, &SleepInhibitor::onPrepareForSleep>, this);
    if (result < 0) {
        throw std::runtime_error("cannot hear of sleep: " + BusConnection::describe(nullptr, result));
    }
    askForDelay();
}

void SleepInhibitor::letGo()
{
    delay_.reset();
    refused("lost the bus");
}

void SleepInhibitor::onPrepareForSleep(sd_bus_message* signal)
{
    const auto starting = LogindMessages::sleepStarting(signal);
    if (!starting) {
        return;
    }
    sleeping_ = *starting;
    if (sleeping_) {
        callbacks_.willSleep();
        delay_.reset();
    } else {
        callbacks_.didWake();
        askForDelay();
    }
}

void SleepInhibitor::askForDelay()
{
    const int result = sd_bus_call_method_async(
        bus_, nullptr, logindService, logindManagerPath, logindManagerInterface, "Inhibit",
        forwardTo<SleepInhibitor, &SleepInhibitor::onInhibitReply>, this, "ssss", "sleep", "Veltrane",
        "Lets keys go before the machine sleeps", "delay");
    if (result < 0) {
        refused(BusConnection::describe(nullptr, result));
    }
}

void SleepInhibitor::onInhibitReply(sd_bus_message* reply)
{
    const auto lent = LogindMessages::delay(reply);
    if (!lent) {
        refused(BusConnection::describe(sd_bus_message_get_error(reply), -EBADMSG));
        return;
    }
    // Granted once the sleep had begun: held, it would keep that sleep waiting until logind gives up.
    if (sleeping_) {
        return;
    }
    // The reply owns the descriptor it carries; ours must outlive it.
    FileDescriptor delay(::fcntl(*lent, F_DUPFD_CLOEXEC, 3));
    if (!delay.valid()) {
        refused(BusConnection::describe(nullptr, -errno));
        return;
    }
    delay_.emplace(std::move(delay));
    problem_.clear();
    callbacks_.log("sleep delay taken");
}

void SleepInhibitor::refused(const std::string& reason)
{
    problem_ = "sleep not delayed: " + reason;
    callbacks_.log(problem_);
}

}  // namespace veltrane::linuxbackend
