#pragma once

#include "platform/linux/bus/BusConnection.h"
#include "platform/linux/logind/LogindNames.h"
#include "platform/linux/reactor/FileDescriptor.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <functional>
#include <mutex>
#include <stdexcept>
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

    FakeLogind(const std::string& address, Behaviour behaviour)
        : bus_(BusConnection::Kind::system, address), behaviour_(behaviour),
          wake_(FileDescriptor::opened(::eventfd(0, EFD_CLOEXEC), "cannot make an event"))
    {
        static const sd_bus_vtable managerTable[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("Inhibit", "ssss", "h", &FakeLogind::inhibit, SD_BUS_VTABLE_UNPRIVILEGED),
            SD_BUS_METHOD("GetSessionByPID", "u", "o", &FakeLogind::session, SD_BUS_VTABLE_UNPRIVILEGED),
            SD_BUS_METHOD("GetSession", "s", "o", &FakeLogind::session, SD_BUS_VTABLE_UNPRIVILEGED),
            SD_BUS_VTABLE_END,
        };
        static const sd_bus_vtable sessionTable[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_PROPERTY("Active", "b", &FakeLogind::active, 0, 0),
            SD_BUS_VTABLE_END,
        };
        sd_bus_add_object_vtable(bus_.get(), nullptr, logindManagerPath, logindManagerInterface, managerTable,
                                 this);
        sd_bus_add_object_vtable(bus_.get(), nullptr, sessionPath, logindSessionInterface, sessionTable,
                                 this);
        if (const int owned = sd_bus_request_name(bus_.get(), logindService, 0); owned < 0) {
            throw std::runtime_error("the fake cannot own the logind name: " +
                                     BusConnection::describe(nullptr, owned));
        }
        thread_ = std::thread([this] { serve(); });
    }
    ~FakeLogind()
    {
        post([this] { stopping_ = true; });
        thread_.join();
    }
    FakeLogind(const FakeLogind&) = delete;
    FakeLogind& operator=(const FakeLogind&) = delete;

    void prepareForSleep(bool starting)
    {
        post([this, starting] {
            sd_bus_emit_signal(bus_.get(), logindManagerPath, logindManagerInterface, "PrepareForSleep", "b",
                               static_cast<int>(starting));
        });
    }
    // Announces the session's new state with its value, or only as a property to read again. With
    // the value, a property of no interest comes first, for the monitor to step over.
    void setActive(bool active, bool valueInSignal)
    {
        post([this, active, valueInSignal] {
            active_ = active;
            if (valueInSignal) {
                sd_bus_emit_signal(bus_.get(), sessionPath, propertiesInterface, "PropertiesChanged",
                                   "sa{sv}as", logindSessionInterface, 2, "IdleHint", "b", 0, "Active", "b",
                                   static_cast<int>(active), 0);
            } else {
                sd_bus_emit_signal(bus_.get(), sessionPath, propertiesInterface, "PropertiesChanged",
                                   "sa{sv}as", logindSessionInterface, 0, 1, "Active");
            }
        });
    }
    // From any thread.
    int delaysGranted() const
    {
        const std::lock_guard lock(mutex_);
        return static_cast<int>(delays_.size());
    }
    bool latestDelayHeld() const
    {
        const std::lock_guard lock(mutex_);
        pollfd watched{delays_.empty() ? -1 : delays_.back().get(), 0, 0};
        return !delays_.empty() && ::poll(&watched, 1, 0) == 0;
    }

private:
    static constexpr const char* sessionPath = "/org/freedesktop/login1/session/_32";

    static int inhibit(sd_bus_message* call, void* self, sd_bus_error* error)
    {
        auto& fake = *static_cast<FakeLogind*>(self);
        const char* what = nullptr;
        const char* who = nullptr;
        const char* why = nullptr;
        const char* mode = nullptr;
        if (sd_bus_message_read(call, "ssss", &what, &who, &why, &mode) < 0 || fake.behaviour_.refuseDelays ||
            std::strcmp(what, "sleep") != 0 || std::strcmp(mode, "delay") != 0) {
            return sd_bus_error_set(error, SD_BUS_ERROR_ACCESS_DENIED, "Access denied");
        }
        std::array<int, 2> ends{};
        if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
            return -errno;
        }
        const FileDescriptor writing(ends[1]);
        {
            const std::lock_guard lock(fake.mutex_);
            fake.delays_.emplace_back(ends[0]);
        }
        return sd_bus_reply_method_return(call, "h", writing.get());
    }

    static int session(sd_bus_message* call, void* self, sd_bus_error* error)
    {
        if (sd_bus_message_is_method_call(call, nullptr, "GetSessionByPID") > 0 &&
            !static_cast<FakeLogind*>(self)->behaviour_.processInSession) {
            return sd_bus_error_set(error, "org.freedesktop.login1.NoSessionForPID", "Not in a session");
        }
        return sd_bus_reply_method_return(call, "o", sessionPath);
    }

    static int active(sd_bus* /*bus*/, const char* /*path*/, const char* /*interface*/,
                      const char* /*property*/, sd_bus_message* reply, void* self, sd_bus_error* /*error*/)
    {
        return sd_bus_message_append(reply, "b", static_cast<int>(static_cast<FakeLogind*>(self)->active_));
    }

    void post(std::function<void()> task)
    {
        {
            const std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
        }
        ::eventfd_write(wake_.get(), 1);
    }

    void serve()
    {
        while (!stopping_ && bus_.run(wake_.get()).empty()) {
            eventfd_t ignored = 0;
            ::eventfd_read(wake_.get(), &ignored);
            std::vector<std::function<void()>> tasks;
            {
                const std::lock_guard lock(mutex_);
                tasks.swap(tasks_);
            }
            for (const auto& task : tasks) {
                task();
            }
        }
    }

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
