#include "platform/linux/logind/LogindMessages.h"

#include "platform/linux/logind/LogindNames.h"

#include <cstring>

namespace veltrane::linuxbackend {

namespace {

bool isActive(const char* property)
{
    return std::strcmp(property, "Active") == 0;
}

}  // namespace

std::optional<bool> LogindMessages::sleepStarting(sd_bus_message* signal)
{
    int starting = 0;
    if (sd_bus_message_read(signal, "b", &starting) < 0) {
        return std::nullopt;
    }
    return starting != 0;
}

std::optional<LogindMessages::SessionChange> LogindMessages::sessionChange(sd_bus_message* signal)
{
    const char* interface = nullptr;
    if (sd_bus_message_read(signal, "s", &interface) < 0 ||
        std::strcmp(interface, logindSessionInterface) != 0) {
        return std::nullopt;
    }
    SessionChange change;
    readActive(signal, change);
    change.activeInvalidated = activeInvalidated(signal);
    return change;
}

// Reads the changed properties, "a{sv}"; stops at the first that is not as it should be.
void LogindMessages::readActive(sd_bus_message* signal, SessionChange& change)
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
            change.active.push_back(active != 0);
        }
        if (sd_bus_message_exit_container(signal) < 0) {
            return;
        }
    }
    sd_bus_message_exit_container(signal);
}

// Whether the invalidated properties, "as", name Active.
bool LogindMessages::activeInvalidated(sd_bus_message* signal)
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

std::optional<bool> LogindMessages::active(sd_bus_message* reply)
{
    int active = 0;
    if (sd_bus_message_read(reply, "v", "b", &active) < 0) {
        return std::nullopt;
    }
    return active != 0;
}

std::optional<std::string> LogindMessages::sessionPath(sd_bus_message* reply)
{
    const char* path = nullptr;
    if (sd_bus_message_read(reply, "o", &path) < 0) {
        return std::nullopt;
    }
    return path;
}

std::optional<int> LogindMessages::delay(sd_bus_message* reply)
{
    int lent = -1;
    if (sd_bus_message_read(reply, "h", &lent) < 0) {
        return std::nullopt;
    }
    return lent;
}

}  // namespace veltrane::linuxbackend
