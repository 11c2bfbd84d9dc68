#include "platform/linux/logind/SessionWatch.h"

#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/bus/BusReply.h"
#include "platform/linux/logind/LogindMessages.h"
#include "platform/linux/logind/LogindNames.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace veltrane::linuxbackend {

namespace {

// The session's object path in the reply; or nothing, with why.
std::optional<std::string> sessionIn(const BusReply& reply, std::string& why)
{
    if (!reply.ok()) {
        why = reply.error();
        return std::nullopt;
    }
    auto path = LogindMessages::sessionPath(reply.message());
    if (!path) {
        why = "unreadable answer: " + BusConnection::describe(nullptr, -EBADMSG);
    }
    return path;
}

}  // namespace

SessionWatch::SessionWatch(sd_bus* bus, const LogindMonitor::Callbacks& callbacks)
    : bus_(bus), callbacks_(callbacks)
{
    std::string why;
    if (auto path = findSession(why)) {
        path_ = std::move(*path);
        watch();
        callbacks_.log("watching session " + path_);
    } else {
        problem_ = "no session to watch: " + why;
        callbacks_.log(problem_);
    }
}

// Started from the desktop, the program is in its session. Started by the user's service manager,
// it is in none: then the session the desktop handed down, if any, and else the one logind picks
// for "auto", the user's graphical session, is the one whose return matters.
std::optional<std::string> SessionWatch::findSession(std::string& why)
{
    const BusReply byProcess(bus_, logindService, logindManagerPath, logindManagerInterface,
                             "GetSessionByPID", "u", static_cast<std::uint32_t>(::getpid()));
    if (auto path = sessionIn(byProcess, why)) {
        return path;
    }
    std::vector<std::string> names;
    if (const char* handedDown = std::getenv("XDG_SESSION_ID");
        handedDown != nullptr && *handedDown != '\0') {
        names.emplace_back(handedDown);
    }
    names.emplace_back("auto");
    for (const auto& name : names) {
        const BusReply byName(bus_, logindService, logindManagerPath, logindManagerInterface, "GetSession",
                              "s", name.c_str());
        if (auto path = sessionIn(byName, why)) {
            return path;
        }
    }
    return std::nullopt;
}

void SessionWatch::watch()
{
    const int result = sd_bus_match_signal(bus_, nullptr, logindService, path_.c_str(), propertiesInterface,
                                           "PropertiesChanged",
                                           forwardTo<SessionWatch, &SessionWatch::onPropertiesChanged>, this);
    if (result < 0) {
        throw std::runtime_error("cannot watch the session: " + BusConnection::describe(nullptr, result));
    }
    // Asked after subscribing, so that no change falls between the answer and the first signal.
    askWhetherActive();
}

void SessionWatch::onPropertiesChanged(sd_bus_message* signal)
{
    const auto change = LogindMessages::sessionChange(signal);
    if (!change) {
        return;
    }
    for (const bool active : change->active) {
        activeIs(active);
    }
    if (change->activeInvalidated) {
        askWhetherActive();
    }
}

void SessionWatch::askWhetherActive()
{
    const int result = sd_bus_call_method_async(
        bus_, nullptr, logindService, path_.c_str(), propertiesInterface, "Get",
        forwardTo<SessionWatch, &SessionWatch::onActiveReply>, this, "ss", logindSessionInterface, "Active");
    if (result < 0) {
        callbacks_.log("cannot ask whether the session is active: " +
                       BusConnection::describe(nullptr, result));
    }
}

void SessionWatch::onActiveReply(sd_bus_message* reply)
{
    const auto active = LogindMessages::active(reply);
    if (!active) {
        callbacks_.log("cannot tell whether the session is active: " +
                       BusConnection::describe(sd_bus_message_get_error(reply), -EBADMSG));
        return;
    }
    activeIs(*active);
}

void SessionWatch::activeIs(bool active)
{
    const bool wasInactive = active_.has_value() && !*active_;
    active_ = active;
    if (active && wasInactive) {
        callbacks_.sessionDidBecomeActive();
    }
}

}  // namespace veltrane::linuxbackend
