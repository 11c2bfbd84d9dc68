#pragma once

#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/settings/FileDescriptor.h"

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace veltrane::linuxbackend {

// systemd-logind as far as the monitor knows it, serving a bus of the test's own on a thread of its
// own. Each sleep delay it grants is the writing end of a pipe; it keeps the reading end, which
// tells when the holder let the delay go.
class FakeLogind {
public:
    struct Behaviour {
        bool processInSession = true;
        bool refuseDelays = false;
    };

    FakeLogind(const std::string& address, Behaviour behaviour);
    ~FakeLogind();
    FakeLogind(const FakeLogind&) = delete;
    FakeLogind& operator=(const FakeLogind&) = delete;

    void prepareForSleep(bool starting);
    // Announces the session's new state with its value, or only as a property to read again.
    void setActive(bool active, bool valueInSignal);
    // From any thread.
    int delaysGranted() const;
    bool latestDelayHeld() const;

private:
    static int inhibit(sd_bus_message* call, void* self, sd_bus_error* error);
    static int session(sd_bus_message* call, void* self, sd_bus_error* error);
    static int active(sd_bus* bus, const char* path, const char* interface, const char* property,
                      sd_bus_message* reply, void* self, sd_bus_error* error);
    static const sd_bus_vtable managerTable[];
    static const sd_bus_vtable sessionTable[];

    void post(std::function<void()> task);
    void serve();

    BusConnection bus_;
    const Behaviour behaviour_;
    FileDescriptor wake_;
    mutable std::mutex mutex_;
    std::vector<std::function<void()>> tasks_;
    std::vector<FileDescriptor> delays_;
    // On the fake's thread only.
    bool active_ = true;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace veltrane::linuxbackend
