#include "platform/linux/logind/SessionWatch.h"

#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/bus/BusReply.h"
#include "platform/linux/logind/LogindNames.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace veltrane::linuxbackend {

namespace {

bool isActive(const char* property)
{
    return std::strcmp(property, "Active") == 0;
}

// The session's object path in the reply; or nothing, with why.
std::optional<std::string> sessionIn(const BusReply& reply, std::string& why)
{
    const char* path = nullptr;
    if (!reply.ok()) {
        why = reply.error();
    } else if (const int result = sd_bus_message_read(reply.message(), "o", &path); result < 0) {
        why = "unreadable answer: " + BusConnection::describe(nullptr, result);
    } else {
        return path;
    }
    return std::nullopt;
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
    const char* interface = nullptr;
    if (sd_bus_message_read(signal, "s", &interface) < 0 ||
        std::strcmp(interface, logindSessionInterface) != 0) {
        return;
    }
    readChanged(signal);
    if (activeInvalidated(signal)) {
        askWhetherActive();
    }
}

// Reads the changed properties, "a{sv}"; stops at the first that is not as it should be.
void SessionWatch::readChanged(sd_bus_message* signal)
{
    if (sd_bus_message_enter_container(signal, 'a', "{sv}") <= 0) {
        return;
    }
    while (sd_bus_message_enter_container(signal, 'e', "sv") > 0) {
        const char* property = nullptr;
        int active = 0;
        if (sd_bus_message_read(signal, "s", &property) < 0) {
            return;
        }
        if (!isActive(property)) {
            if (sd_bus_message_skip(signal, "v") < 0) {
                return;
            }
        } else if (sd_bus_message_read(signal, "v", "b", &active) < 0) {
            return;
        } else {
            activeIs(active != 0);
        }
        if (sd_bus_message_exit_container(signal) < 0) {
            return;
        }
    }
    sd_bus_message_exit_container(signal);
}

// Whether the invalidated properties, "as", name Active: its new value is then to be asked for.
bool SessionWatch::activeInvalidated(sd_bus_message* signal)
{
    if (sd_bus_message_enter_container(signal, 'a', "s") <= 0) {
        return false;
    }
    const char* property = nullptr;
    while (sd_bus_message_read_basic(signal, 's', &property) > 0) {
        if (isActive(property)) {
            return true;
        }
    }
    return false;
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
    int active = 0;
    if (const int result = sd_bus_message_read(reply, "v", "b", &active); result < 0) {
        callbacks_.log("cannot tell whether the session is active: " +
                       BusConnection::describe(sd_bus_message_get_error(reply), result));
        return;
    }
    activeIs(active != 0);
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
