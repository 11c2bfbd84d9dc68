#pragma once

#include <systemd/sd-bus.h>

#include <optional>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// What logind's signals and answers say, read as logind sends them. Any program on the bus may send
// a signal, and any answer may be an error: one whose arguments are not of the types expected says
// nothing, or stops at the first argument that is not.
class LogindMessages {
public:
    // What a session's PropertiesChanged tells of its Active property.
    struct SessionChange {
        // The values it carries, in their order.
        std::vector<bool> active;
        // Whether it says Active changed without carrying the new value.
        bool activeInvalidated = false;
    };

    // PrepareForSleep: true before sleeping, false after waking.
    static std::optional<bool> sleepStarting(sd_bus_message* signal);
    // Nothing when the properties are another interface's than the session's.
    static std::optional<SessionChange> sessionChange(sd_bus_message* signal);
    // The answer to getting the session's Active property.
    static std::optional<bool> active(sd_bus_message* reply);
    // The session's object path in the answer to GetSession or GetSessionByPID.
    static std::optional<std::string> sessionPath(sd_bus_message* reply);
    // The descriptor that the answer to Inhibit lends, which the reply owns.
    static std::optional<int> delay(sd_bus_message* reply);

private:
    static void readActive(sd_bus_message* signal, SessionChange& change);
    static bool activeInvalidated(sd_bus_message* signal);
};

}  // namespace veltrane::linuxbackend
