#pragma once

#include <systemd/sd-bus.h>

#include <string>

namespace veltrane::linuxbackend {

class Reactor;

// A client connection to a message bus, served by the reactor: its callbacks run on the reactor's
// thread, which alone uses it.
class BusConnection {
public:
    enum class Kind { system, session };

    // The bus at that address, or with an empty one the machine's system bus or the user's session
    // bus. Throws std::runtime_error saying why there is no bus.
    BusConnection(Kind kind, const std::string& address, Reactor& reactor);
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    sd_bus* get() const { return bus_; }

    // The text of a failed call: the bus error's message, else the system error's.
    static std::string describe(const sd_bus_error* error, int result);

private:
    sd_bus* bus_ = nullptr;
};

// An sd-bus callback handing the message to a member function of the object given as user data.
// The member must not throw: the exception would have to cross sd-bus.
template <typename Object, void (Object::*member)(sd_bus_message*)>
int forwardTo(sd_bus_message* message, void* object, sd_bus_error* /*error*/) noexcept
{
    (static_cast<Object*>(object)->*member)(message);
    return 0;
}

}  // namespace veltrane::linuxbackend
