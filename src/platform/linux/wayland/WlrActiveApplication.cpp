#include "platform/linux/wayland/WlrActiveApplication.h"

#include "platform/linux/wayland/WlrToplevels.h"

#include <poll.h>
#include <sys/epoll.h>
#include <wayland-client.h>
#include <wlr-foreign-toplevel-management-unstable-v1-client-protocol.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

using platform::RunningApplication;

constexpr std::uint32_t newestManagerVersion = 3;
constexpr std::chrono::seconds answerTime{5};

std::string nameOf(const std::optional<std::string>& display)
{
    if (display) {
        return *display;
    }
    const char* named = std::getenv("WAYLAND_DISPLAY");
    return named != nullptr && *named != '\0' ? named : "wayland-0";
}

}  // namespace

// The connection and what it learnt of the windows. While it watches, it means to read from the
// compositor: the reactor sees its descriptor turn readable only for what the library has not read.
class WlrActiveApplication::Session {
public:
    Session(Reactor& reactor, const std::optional<std::string>& display, Lookup lookup, Handler changed);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    std::string problem() const { return problem_; }
    std::optional<RunningApplication> current() const { return current_; }

private:
    std::string connect(const std::optional<std::string>& display);
    std::string roundtrip();
    std::string lost() const;
    bool await(std::chrono::milliseconds limit);
    bool prepare();
    void follow();
    void watch(zwlr_foreign_toplevel_handle_v1* handle);
    void forget(zwlr_foreign_toplevel_handle_v1* handle);
    void tell(const std::optional<RunningApplication>& application);
    void giveUp(const std::string& why);

    static const wl_callback_listener syncListener;
    static const wl_registry_listener registryListener;
    static const zwlr_foreign_toplevel_manager_v1_listener managerListener;
    static const zwlr_foreign_toplevel_handle_v1_listener toplevelListener;

    Handler changed_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    WlrToplevels toplevels_;
    std::optional<RunningApplication> current_;
    std::string problem_;
    // Watched while prepared to read.
    Reactor::Source readable_;
};

const wl_callback_listener WlrActiveApplication::Session::syncListener = {
    .done = [](void* answered, wl_callback*, std::uint32_t) { *static_cast<bool*>(answered) = true; },
};

const wl_registry_listener WlrActiveApplication::Session::registryListener = {
    .global =
        [](void* data, wl_registry* registry, std::uint32_t name, const char* interface,
           std::uint32_t version) {
            auto* session = static_cast<Session*>(data);
            if (session->manager_ != nullptr ||
                std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0) {
                return;
            }
            session->manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(
                wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface,
                                 std::min(version, newestManagerVersion)));
            zwlr_foreign_toplevel_manager_v1_add_listener(session->manager_, &managerListener, session);
        },
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

const zwlr_foreign_toplevel_manager_v1_listener WlrActiveApplication::Session::managerListener = {
    .toplevel = [](void* data, zwlr_foreign_toplevel_manager_v1*,
                   zwlr_foreign_toplevel_handle_v1* handle) { static_cast<Session*>(data)->watch(handle); },
    // The compositor has let go of the manager already.
    .finished =
        [](void* data, zwlr_foreign_toplevel_manager_v1* manager) {
            zwlr_foreign_toplevel_manager_v1_destroy(manager);
            static_cast<Session*>(data)->manager_ = nullptr;
        },
};

const zwlr_foreign_toplevel_handle_v1_listener WlrActiveApplication::Session::toplevelListener = {
    .title = [](void*, zwlr_foreign_toplevel_handle_v1*, const char*) {},
    .app_id = [](void* data, zwlr_foreign_toplevel_handle_v1* handle,
                 const char* appId) { static_cast<Session*>(data)->toplevels_.appId(handle, appId); },
    .output_enter = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .output_leave = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .state = [](void* data, zwlr_foreign_toplevel_handle_v1* handle,
                wl_array* states) { static_cast<Session*>(data)->toplevels_.state(handle, *states); },
    .done =
        [](void* data, zwlr_foreign_toplevel_handle_v1* handle) {
            static_cast<Session*>(data)->toplevels_.done(handle);
        },
    .closed = [](void* data,
                 zwlr_foreign_toplevel_handle_v1* handle) { static_cast<Session*>(data)->forget(handle); },
    .parent = [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},
};

WlrActiveApplication::Session::Session(Reactor& reactor, const std::optional<std::string>& display,
                                       Lookup lookup, Handler changed)
    : changed_(std::move(changed)), toplevels_(std::move(lookup))
{
    problem_ = connect(display);
    if (problem_.empty() && !prepare()) {
        problem_ = lost();
    }
    if (problem_.empty()) {
        readable_ = reactor.watch("the Wayland compositor's window list", wl_display_get_fd(display_),
                                  EPOLLIN, [this](std::uint32_t) { follow(); });
    }
}

WlrActiveApplication::Session::~Session()
{
    if (readable_) {
        readable_.reset();
        wl_display_cancel_read(display_);
    }
    for (auto* handle : toplevels_.handles()) {
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    }
    if (manager_ != nullptr) {
        zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    }
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
    if (display_ != nullptr) {
        wl_display_disconnect(display_);
    }
}

// Why the compositor cannot tell the frontmost application, or nothing when it can.
std::string WlrActiveApplication::Session::connect(const std::optional<std::string>& display)
{
    display_ = wl_display_connect(display ? display->c_str() : nullptr);
    if (display_ == nullptr) {
        return "cannot connect to the Wayland display " + nameOf(display) + ": " +
               std::generic_category().message(errno);
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &registryListener, this);
    if (auto failure = roundtrip(); !failure.empty()) {
        return failure;
    }
    return manager_ == nullptr ? "the compositor offers no foreign toplevel list" : "";
}

// The library's own roundtrip would wait forever on a compositor that does not answer.
std::string WlrActiveApplication::Session::roundtrip()
{
    bool answered = false;
    wl_callback* callback = wl_display_sync(display_);
    wl_callback_add_listener(callback, &syncListener, &answered);
    const auto deadline = std::chrono::steady_clock::now() + answerTime;
    std::string failure;
    while (!answered && failure.empty()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            failure =
                "the compositor did not answer within " + std::to_string(answerTime.count()) + " seconds";
        } else if (!await(left)) {
            failure = lost();
        }
    }
    wl_callback_destroy(callback);
    return failure;
}

std::string WlrActiveApplication::Session::lost() const
{
    return "lost the connection to the Wayland compositor: " +
           std::generic_category().message(wl_display_get_error(display_));
}

// Waits for the compositor for that long at most, and dispatches what came. False once the
// connection is lost.
bool WlrActiveApplication::Session::await(std::chrono::milliseconds limit)
{
    if (!prepare()) {
        return false;
    }
    pollfd readable{wl_display_get_fd(display_), POLLIN, 0};
    const int ready = ::poll(&readable, 1, static_cast<int>(limit.count()));
    if (ready <= 0) {
        const bool failed = ready < 0 && errno != EINTR;
        wl_display_cancel_read(display_);
        return !failed;
    }
    return wl_display_read_events(display_) >= 0 && wl_display_dispatch_pending(display_) >= 0;
}

// Dispatches what the library holds already and sends what is asked, then means to read. False,
// and not meaning to read, once the connection is lost.
bool WlrActiveApplication::Session::prepare()
{
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0) {
            return false;
        }
    }
    // A full socket takes the requests on a later turn.
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display_);
        return false;
    }
    return true;
}

void WlrActiveApplication::Session::follow()
{
    if (wl_display_read_events(display_) < 0 || !prepare()) {
        return giveUp(lost());
    }
    if (manager_ == nullptr) {
        wl_display_cancel_read(display_);
        return giveUp("the compositor stopped listing its windows");
    }
    // Once per batch: a focus moving between windows comes as two done events, and the moment
    // between them, with no window activated, is not a change.
    if (toplevels_.reviewDue()) {
        tell(toplevels_.frontmost());
    }
}

void WlrActiveApplication::Session::watch(zwlr_foreign_toplevel_handle_v1* handle)
{
    toplevels_.add(handle);
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &toplevelListener, this);
}

void WlrActiveApplication::Session::forget(zwlr_foreign_toplevel_handle_v1* handle)
{
    toplevels_.closed(handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
}

void WlrActiveApplication::Session::tell(const std::optional<RunningApplication>& application)
{
    if (current_ != application) {
        current_ = application;
        if (changed_) {
            changed_(application);
        }
    }
}

// Called without meaning to read: the source goes, which would otherwise be called again at once.
void WlrActiveApplication::Session::giveUp(const std::string& why)
{
    problem_ = why;
    readable_.reset();
    tell(std::nullopt);
}

WlrActiveApplication::WlrActiveApplication(Reactor& reactor, const std::optional<std::string>& display,
                                           Lookup lookup, Handler changed)
    : session_(std::make_unique<Session>(reactor, display, std::move(lookup), std::move(changed)))
{
}

WlrActiveApplication::~WlrActiveApplication() = default;

bool WlrActiveApplication::available() const
{
    return session_->problem().empty();
}

std::string WlrActiveApplication::problem() const
{
    return session_->problem();
}

std::optional<RunningApplication> WlrActiveApplication::current() const
{
    return session_->current();
}

}  // namespace veltrane::linuxbackend
