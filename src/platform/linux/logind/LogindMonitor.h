#pragma once

#include "platform/linux/reactor/FileDescriptor.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace veltrane::linuxbackend {

class BusConnection;
class SessionWatch;
class SleepInhibitor;

// What systemd-logind tells of the machine going to sleep, waking, and the program's desktop
// session becoming the active one again (after a switch of user, say). Without a bus or logind it
// stays silent and says why.
class LogindMonitor {
public:
    // All run on the monitor's own thread and must not throw; any may be empty.
    struct Callbacks {
        // The sleep waits until it returns (as long as logind lets a delay last).
        std::function<void()> willSleep;
        std::function<void()> didWake;
        std::function<void()> sessionDidBecomeActive;
        // A line for the log now and then: the sleep delay taken or refused, the session found or not.
        // Also called on the constructing thread while constructing.
        std::function<void(const std::string&)> log;
    };

    // On the system bus, or on the bus at that address.
    explicit LogindMonitor(Callbacks callbacks, const std::string& busAddress = {});
    // Stops the thread and lets a held sleep go.
    ~LogindMonitor();
    LogindMonitor(const LogindMonitor&) = delete;
    LogindMonitor& operator=(const LogindMonitor&) = delete;

    // Whether it is listening to logind; when not, problem says why.
    bool available() const;
    // What is missing, empty when nothing is: no bus, no logind, no sleep delay, no session.
    std::string problem() const;

private:
    void start(const std::string& busAddress);
    void run();

    Callbacks callbacks_;
    std::string problem_;
    FileDescriptor stop_;
    std::unique_ptr<BusConnection> bus_;
    std::unique_ptr<SleepInhibitor> sleep_;
    std::unique_ptr<SessionWatch> session_;
    std::thread thread_;
};

}  // namespace veltrane::linuxbackend
