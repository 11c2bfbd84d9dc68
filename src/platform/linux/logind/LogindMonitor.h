#pragma once

#include <functional>
#include <memory>
#include <string>

struct sd_bus_message;

namespace veltrane::linuxbackend {

class BusConnection;
class Reactor;
class SessionWatch;
class SleepInhibitor;

// What systemd-logind tells of the machine going to sleep, waking, and the program's desktop
// session becoming the active one again (after a switch of user, say). Without a bus or logind it
// stays silent and says why. Its bus is served by the reactor, whose thread makes and destroys it.
class LogindMonitor {
public:
    // All run on the reactor's thread and must not throw; any may be empty.
    struct Callbacks {
        // The sleep waits until it returns (as long as logind lets a delay last).
        std::function<void()> willSleep;
        std::function<void()> didWake;
        std::function<void()> sessionDidBecomeActive;
        // A line for the log now and then: the sleep delay taken or refused, the session found or not.
        std::function<void(const std::string&)> log;
    };

    // On the system bus, or on the bus at that address.
    LogindMonitor(Reactor& reactor, Callbacks callbacks, const std::string& busAddress = {});
    // Lets a held sleep go.
    ~LogindMonitor();
    LogindMonitor(const LogindMonitor&) = delete;
    LogindMonitor& operator=(const LogindMonitor&) = delete;

    // Whether it is listening to logind; when not, problem says why.
    bool available() const;
    // What is missing, empty when nothing is: no bus, no logind, no sleep delay, no session.
    std::string problem() const;

private:
    void start(Reactor& reactor, const std::string& busAddress);
    void onDisconnected(sd_bus_message* signal);

    Callbacks callbacks_;
    std::string problem_;
    std::unique_ptr<BusConnection> bus_;
    std::unique_ptr<SleepInhibitor> sleep_;
    std::unique_ptr<SessionWatch> session_;
};

}  // namespace veltrane::linuxbackend
