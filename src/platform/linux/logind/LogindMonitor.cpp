#include "platform/linux/logind/LogindMonitor.h"

#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/bus/BusReply.h"
#include "platform/linux/logind/LogindNames.h"
#include "platform/linux/logind/SessionWatch.h"
#include "platform/linux/logind/SleepInhibitor.h"

#include <cerrno>
#include <stdexcept>

namespace veltrane::linuxbackend {

namespace {

// So that the parts call them without asking whether they were given.
LogindMonitor::Callbacks filledIn(LogindMonitor::Callbacks callbacks)
{
    for (auto* callback : {&callbacks.willSleep, &callbacks.didWake, &callbacks.sessionDidBecomeActive}) {
        if (!*callback) {
            *callback = [] {};
        }
    }
    if (!callbacks.log) {
        callbacks.log = [](const std::string&) {};
    }
    return callbacks;
}

std::string joined(const std::string& first, const std::string& second)
{
    return first.empty() || second.empty() ? first + second : first + "; " + second;
}

}  // namespace

LogindMonitor::LogindMonitor(Reactor& reactor, Callbacks callbacks, const std::string& busAddress)
    : callbacks_(filledIn(std::move(callbacks)))
{
    try {
        start(reactor, busAddress);
    } catch (const std::exception& error) {
        problem_ = error.what();
        callbacks_.log(problem_);
        bus_.reset();
    }
}

LogindMonitor::~LogindMonitor()
{
    // Before the parts: the calls still awaiting a reply point at them.
    bus_.reset();
}

bool LogindMonitor::available() const
{
    return bus_ != nullptr;
}

std::string LogindMonitor::problem() const
{
    return available() ? joined(sleep_->problem(), session_->problem()) : problem_;
}

// The calls made here wait for their answers, because what they find is told at once (problem()):
// the bus and logind, which just answered the ping, answer them within moments.
void LogindMonitor::start(Reactor& reactor, const std::string& busAddress)
{
    bus_ = std::make_unique<BusConnection>(BusConnection::Kind::system, busAddress, reactor);
    // A ping rather than asking for the name's owner: it starts logind where the bus can.
    const BusReply ping(bus_->get(), logindService, logindManagerPath, "org.freedesktop.DBus.Peer", "Ping",
                        nullptr);
    if (!ping.ok()) {
        throw std::runtime_error("logind is not running: " + ping.error());
    }
    sleep_ = std::make_unique<SleepInhibitor>(bus_->get(), callbacks_);
    session_ = std::make_unique<SessionWatch>(bus_->get(), callbacks_);
    // What sd-bus tells its own connection when the bus goes.
    const int result = sd_bus_match_signal(bus_->get(), nullptr, nullptr, "/org/freedesktop/DBus/Local",
                                           "org.freedesktop.DBus.Local", "Disconnected",
                                           forwardTo<LogindMonitor, &LogindMonitor::onDisconnected>, this);
    if (result < 0) {
        throw std::runtime_error("cannot hear of the bus going: " + BusConnection::describe(nullptr, result));
    }
}

void LogindMonitor::onDisconnected(sd_bus_message* /*signal*/)
{
    callbacks_.log("lost the bus: " + BusConnection::describe(nullptr, -ENOTCONN));
    sleep_->letGo();
}

}  // namespace veltrane::linuxbackend
