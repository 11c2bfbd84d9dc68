#include "platform/linux/bus/BusConnection.h"

#include "platform/linux/reactor/Reactor.h"

#include <systemd/sd-event.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

// Long enough for a loaded system, short enough that a bus that stopped answering does not hold
// the program's start.
constexpr std::uint64_t callTimeoutMicroseconds = 5'000'000;

int openAt(const std::string& address, sd_bus** bus)
{
    int result = sd_bus_new(bus);
    if (result >= 0) {
        result = sd_bus_set_address(*bus, address.c_str());
    }
    if (result >= 0) {
        result = sd_bus_set_bus_client(*bus, 1);
    }
    if (result >= 0) {
        result = sd_bus_start(*bus);
    }
    return result;
}

}  // namespace

BusConnection::BusConnection(Kind kind, const std::string& address, Reactor& reactor)
{
    const bool system = kind == Kind::system;
    int result = 0;
    if (!address.empty()) {
        result = openAt(address, &bus_);
    } else {
        result = system ? sd_bus_open_system(&bus_) : sd_bus_open_user(&bus_);
    }
    if (result >= 0) {
        result = sd_bus_attach_event(bus_, reactor.handle(), SD_EVENT_PRIORITY_NORMAL);
    }
    if (result < 0) {
        bus_ = sd_bus_close_unref(bus_);
        // What sd-bus says when it has nothing to find the session bus by.
        const std::string why = result == -ENOMEDIUM
                                    ? "neither DBUS_SESSION_BUS_ADDRESS nor XDG_RUNTIME_DIR is set"
                                    : describe(nullptr, result);
        throw std::runtime_error(std::string(system ? "no system bus: " : "no session bus: ") + why);
    }
    sd_bus_set_method_call_timeout(bus_, callTimeoutMicroseconds);
}

BusConnection::~BusConnection()
{
    sd_bus_detach_event(bus_);
    // Closing, not just letting go: the callbacks and queued messages the bus holds are dropped unheard.
    sd_bus_close_unref(bus_);
}

std::string BusConnection::describe(const sd_bus_error* error, int result)
{
    if (error != nullptr && sd_bus_error_is_set(error) != 0 && error->message != nullptr) {
        return error->message;
    }
    return std::generic_category().message(-result);
}

}  // namespace veltrane::linuxbackend
