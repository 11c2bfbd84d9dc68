#include "FakeLogind.h"

#include "platform/linux/logind/LogindNames.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>

#include <array>
#include <cstring>
#include <stdexcept>

namespace veltrane::linuxbackend {

namespace {

constexpr const char* sessionPath = "/org/freedesktop/login1/session/_32";

}  // namespace

const sd_bus_vtable FakeLogind::managerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Inhibit", "ssss", "h", &FakeLogind::inhibit, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetSessionByPID", "u", "o", &FakeLogind::session, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetSession", "s", "o", &FakeLogind::session, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable FakeLogind::sessionTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Active", "b", &FakeLogind::active, 0, 0),
    SD_BUS_VTABLE_END,
};

FakeLogind::FakeLogind(const std::string& address, Behaviour behaviour)
    : bus_(BusConnection::Kind::system, address), behaviour_(behaviour),
      wake_(FileDescriptor::opened(::eventfd(0, EFD_CLOEXEC), "cannot make an event"))
{
    sd_bus_add_object_vtable(bus_.get(), nullptr, logindManagerPath, logindManagerInterface, managerTable,
                             this);
    sd_bus_add_object_vtable(bus_.get(), nullptr, sessionPath, logindSessionInterface, sessionTable, this);
    if (const int owned = sd_bus_request_name(bus_.get(), logindService, 0); owned < 0) {
        throw std::runtime_error("the fake cannot own the logind name: " +
                                 BusConnection::describe(nullptr, owned));
    }
    thread_ = std::thread([this] { serve(); });
}

FakeLogind::~FakeLogind()
{
    post([this] { stopping_ = true; });
    thread_.join();
}

void FakeLogind::prepareForSleep(bool starting)
{
    post([this, starting] {
        sd_bus_emit_signal(bus_.get(), logindManagerPath, logindManagerInterface, "PrepareForSleep", "b",
                           static_cast<int>(starting));
    });
}

// A property of no interest comes first, for the monitor to step over.
void FakeLogind::setActive(bool active, bool valueInSignal)
{
    post([this, active, valueInSignal] {
        active_ = active;
        if (valueInSignal) {
            sd_bus_emit_signal(bus_.get(), sessionPath, propertiesInterface, "PropertiesChanged", "sa{sv}as",
                               logindSessionInterface, 2, "IdleHint", "b", 0, "Active", "b",
                               static_cast<int>(active), 0);
        } else {
            sd_bus_emit_signal(bus_.get(), sessionPath, propertiesInterface, "PropertiesChanged", "sa{sv}as",
                               logindSessionInterface, 0, 1, "Active");
        }
    });
}

int FakeLogind::delaysGranted() const
{
    const std::lock_guard lock(mutex_);
    return static_cast<int>(delays_.size());
}

bool FakeLogind::latestDelayHeld() const
{
    const std::lock_guard lock(mutex_);
    if (delays_.empty()) {
        return false;
    }
    pollfd watched{delays_.back().get(), 0, 0};
    return ::poll(&watched, 1, 0) == 0;
}

int FakeLogind::inhibit(sd_bus_message* call, void* self, sd_bus_error* error)
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

int FakeLogind::session(sd_bus_message* call, void* self, sd_bus_error* error)
{
    if (sd_bus_message_is_method_call(call, nullptr, "GetSessionByPID") > 0 &&
        !static_cast<FakeLogind*>(self)->behaviour_.processInSession) {
        return sd_bus_error_set(error, "org.freedesktop.login1.NoSessionForPID", "Not in a session");
    }
    return sd_bus_reply_method_return(call, "o", sessionPath);
}

int FakeLogind::active(sd_bus* /*bus*/, const char* /*path*/, const char* /*interface*/,
                       const char* /*property*/, sd_bus_message* reply, void* self, sd_bus_error* /*error*/)
{
    return sd_bus_message_append(reply, "b", static_cast<int>(static_cast<FakeLogind*>(self)->active_));
}

void FakeLogind::post(std::function<void()> task)
{
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    ::eventfd_write(wake_.get(), 1);
}

void FakeLogind::serve()
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

}  // namespace veltrane::linuxbackend
