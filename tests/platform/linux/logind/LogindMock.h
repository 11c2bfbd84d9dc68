#pragma once

#include "ChildProcess.h"
#include "Eventually.h"
#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/bus/BusReply.h"
#include "platform/linux/logind/LogindNames.h"
#include "platform/linux/reactor/Reactor.h"

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// systemd-logind as Debian's D-Bus mock plays it, on a bus of the test's own, with one session, of
// the test's process or by name. The test's calls to it wait for its answers.
class LogindMock {
public:
    struct Behaviour {
        bool processInSession = true;
        bool refuseDelays = false;
    };

    LogindMock(const std::string& address, Reactor& reactor, Behaviour behaviour)
        : bus_(BusConnection::Kind::system, address, reactor),
          // Debian's Python, where Debian installs the mock. It tells of every call.
          mock_({"/usr/bin/python3", "-m", "dbusmock", "--template", "logind"},
                {.environment = std::vector<std::string>{"DBUS_SYSTEM_BUS_ADDRESS=" + address},
                 .output = "/dev/null",
                 .stopSignal = SIGTERM})
    {
        // Long, for a virtual machine on a loaded host.
        if (!testsupport::eventually(
                [this] {
                    return BusReply(bus_.get(), logindService, logindManagerPath, mockInterface, "AddSession",
                                    "ssusb", sessionId, "seat0", 1000u, "person", 1)
                        .ok();
                },
                std::chrono::seconds(30))) {
            throw std::runtime_error("the logind mock did not start");
        }
        // Without it, the template finds the process in no session.
        if (behaviour.processInSession) {
            mock(logindManagerPath, "AddMethod", "sssss", logindManagerInterface, "GetSessionByPID", "u", "o",
                 "ret = '/org/freedesktop/login1/session/c2'");
        }
        if (behaviour.refuseDelays) {
            mock(logindManagerPath, "AddMethod", "sssss", logindManagerInterface, "Inhibit", "ssss", "h",
                 "raise dbus.exceptions.DBusException('Access denied', "
                 "name='org.freedesktop.DBus.Error.AccessDenied')");
        }
        // A change of the session told only as a property to read again.
        mock(sessionPath, "AddMethod", "sssss", mockInterface, "Invalidate", "b", "",
             "self.props['org.freedesktop.login1.Session']['Active'] = args[0]\n"
             "self.EmitSignal('org.freedesktop.DBus.Properties', 'PropertiesChanged', 'sa{sv}as', "
             "['org.freedesktop.login1.Session', dbus.Dictionary({}, signature='sv'), ['Active']])");
    }

    // The session looked up by name is the one the desktop hands down.
    static constexpr const char* sessionId = "c2";

    void prepareForSleep(bool starting)
    {
        mock(logindManagerPath, "EmitSignal", "sssav", logindManagerInterface, "PrepareForSleep", "b", 1, "b",
             static_cast<int>(starting));
    }
    // Announces the session's new state with its value, or only as a property to read again. With
    // the value, a property of no interest comes first, for the monitor to step over.
    void setActive(bool active, bool valueInSignal)
    {
        if (valueInSignal) {
            mock(sessionPath, "UpdateProperties", "sa{sv}", logindSessionInterface, 2, "IdleHint", "b", 0,
                 "Active", "b", static_cast<int>(active));
        } else {
            mock(sessionPath, "Invalidate", "b", static_cast<int>(active));
        }
    }
    int delaysGranted() const
    {
        const BusReply calls(bus_.get(), logindService, logindManagerPath, mockInterface, "GetMethodCalls",
                             "s", "Inhibit");
        int count = 0;
        if (calls.ok() && sd_bus_message_enter_container(calls.message(), 'a', "(tav)") > 0) {
            while (sd_bus_message_skip(calls.message(), "(tav)") > 0) {
                ++count;
            }
        }
        return count;
    }
    // Whether a sleep delay is held: logind keeps one until its holder closes it.
    bool delayHeld() const
    {
        const BusReply held(bus_.get(), logindService, logindManagerPath, logindManagerInterface,
                            "ListInhibitors", nullptr);
        const char* what = nullptr;
        const char* mode = nullptr;
        if (!held.ok() || sd_bus_message_enter_container(held.message(), 'a', "(ssssuu)") <= 0) {
            return false;
        }
        while (sd_bus_message_read(held.message(), "(ssssuu)", &what, nullptr, nullptr, &mode, nullptr,
                                   nullptr) > 0) {
            if (std::strcmp(what, "sleep") == 0 && std::strcmp(mode, "delay") == 0) {
                return true;
            }
        }
        return false;
    }

private:
    static constexpr const char* mockInterface = "org.freedesktop.DBus.Mock";
    static constexpr const char* sessionPath = "/org/freedesktop/login1/session/c2";

    template <typename... Arguments>
    void mock(const char* path, const char* member, const char* types, Arguments... arguments)
    {
        const BusReply reply(bus_.get(), logindService, path, mockInterface, member, types, arguments...);
        if (!reply.ok()) {
            throw std::runtime_error(std::string("the logind mock refused ") + member + ": " + reply.error());
        }
    }

    BusConnection bus_;
    testsupport::ChildProcess mock_;
};

}  // namespace veltrane::linuxbackend
