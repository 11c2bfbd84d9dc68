#include "platform/linux/logind/LogindMonitor.h"

#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/bus/BusReply.h"
#include "platform/linux/logind/LogindNames.h"
#include "platform/linux/logind/SessionWatch.h"
#include "platform/linux/logind/SleepInhibitor.h"

#include <sys/eventfd.h>

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

LogindMonitor::LogindMonitor(Callbacks callbacks, const std::string& busAddress)
    : callbacks_(filledIn(std::move(callbacks))),
      stop_(FileDescriptor::opened(::eventfd(0, EFD_CLOEXEC), "cannot make an event"))
{
    try {
        start(busAddress);
    } catch (const std::exception& error) {
        problem_ = error.what();
        callbacks_.log(problem_);
        bus_.reset();
    }
}

LogindMonitor::~LogindMonitor()
{
    if (thread_.joinable()) {
        ::eventfd_write(stop_.get(), 1);
        thread_.join();
    }
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

// Everything is set up on this thread before the monitor's starts: the connection then belongs to
// that one thread.
void LogindMonitor::start(const std::string& busAddress)
{
    bus_ = std::make_unique<BusConnection>(BusConnection::Kind::system, busAddress);
    // A ping rather than asking for the name's owner: it starts logind where the bus can.
    const BusReply ping(bus_->get(), logindService, logindManagerPath, "org.freedesktop.DBus.Peer", "Ping",
                        nullptr);
    if (!ping.ok()) {
        throw std::runtime_error("logind is not running: " + ping.error());
    }
    sleep_ = std::make_unique<SleepInhibitor>(bus_->get(), callbacks_);
    session_ = std::make_unique<SessionWatch>(bus_->get(), callbacks_);
    thread_ = std::thread([this] { run(); });
}

void LogindMonitor::run()
{
    if (const auto lost = bus_->run(stop_.get()); !lost.empty()) {
        callbacks_.log(lost);
        sleep_->letGo();
    }
}

}  // namespace veltrane::linuxbackend
