#include "platform/linux/bus/BusConnection.h"

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
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

std::uint64_t monotonicMicroseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000 +
           static_cast<std::uint64_t>(now.tv_nsec) / 1'000;
}

}  // namespace

BusConnection::BusConnection(Kind kind, const std::string& address)
{
    const bool system = kind == Kind::system;
    int result = 0;
    if (!address.empty()) {
        result = openAt(address, &bus_);
    } else {
        result = system ? sd_bus_open_system(&bus_) : sd_bus_open_user(&bus_);
    }
    if (result < 0) {
        bus_ = sd_bus_unref(bus_);
        // What sd-bus says when it has nothing to find the session bus by.
        const std::string why = result == -ENOMEDIUM ? "neither DBUS_SESSION_BUS_ADDRESS nor XDG_RUNTIME_DIR is set"
                                                     : describe(nullptr, result);
        throw std::runtime_error(std::string(system ? "no system bus: " : "no session bus: ") + why);
    }
    sd_bus_set_method_call_timeout(bus_, callTimeoutMicroseconds);
}

BusConnection::~BusConnection()
{
    // Closing, not just letting go: the callbacks and queued messages the bus holds are dropped unheard.
    sd_bus_close_unref(bus_);
}

std::string BusConnection::run(int stop)
{
    for (;;) {
        const int processed = sd_bus_process(bus_, nullptr);
        if (processed > 0) {
            continue;
        }
        const int events = processed < 0 ? processed : sd_bus_get_events(bus_);
        if (events < 0) {
            return "lost the bus: " + describe(nullptr, events);
        }
        if (waitFor(stop, events)) {
            return {};
        }
    }
}

std::string BusConnection::describe(const sd_bus_error* error, int result)
{
    if (error != nullptr && sd_bus_error_is_set(error) != 0 && error->message != nullptr) {
        return error->message;
    }
    return std::generic_category().message(-result);
}

bool BusConnection::waitFor(int stop, int busEvents) const
{
    std::array<pollfd, 2> watched{
        {{sd_bus_get_fd(bus_), static_cast<short>(busEvents), 0}, {stop, POLLIN, 0}}};
    // A wait that cannot be made at all ends the loop as a stop would, rather than spin.
    if (::poll(watched.data(), watched.size(), timeoutMilliseconds()) < 0 && errno != EINTR) {
        return true;
    }
    return watched[1].revents != 0;
}

// Until the bus's next deadline (a call's reply that is due), rounded up so as not to wake early.
int BusConnection::timeoutMilliseconds() const
{
    std::uint64_t deadline = 0;
    if (sd_bus_get_timeout(bus_, &deadline) < 0 || deadline == UINT64_MAX) {
        return -1;
    }
    const std::uint64_t now = monotonicMicroseconds();
    if (deadline <= now) {
        return 0;
    }
    return static_cast<int>(std::min<std::uint64_t>((deadline - now + 999) / 1'000, INT_MAX));
}

}  // namespace veltrane::linuxbackend
