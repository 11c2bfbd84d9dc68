#include "platform/linux/x11/X11ActiveApplication.h"

#include "platform/linux/x11/X11Connection.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <utility>

namespace veltrane::linuxbackend {

namespace {

using Clock = std::chrono::steady_clock;

// Focus moves within milliseconds; a person does not notice this much.
constexpr auto kSettleTime = std::chrono::milliseconds(200);
// Window managers frame a client in a window or two of their own.
constexpr int kFrameDepth = 3;
// Enough for every hint a window manager could support.
constexpr std::uint32_t kMostSupported = 4096;
// In 32-bit units: WM_CLASS is two short names.
constexpr std::uint32_t kMostClass = 256;

struct WindowClass {
    std::string instance;
    std::string name;
};

// WM_CLASS holds the instance and the class, each ended by a NUL. It should be a STRING, but some
// toolkits write it as UTF8_STRING.
std::optional<WindowClass> windowClassOf(X11Connection& connection, xcb_window_t window)
{
    const auto text = connection.text(window, XCB_ATOM_WM_CLASS, XCB_GET_PROPERTY_TYPE_ANY, kMostClass);
    const auto split = std::min(text.find('\0'), text.size());
    WindowClass found{text.substr(0, split), split < text.size() ? text.substr(split + 1) : ""};
    found.name.resize(std::min(found.name.find('\0'), found.name.size()));
    if (found.instance.empty() && found.name.empty()) {
        return std::nullopt;
    }
    return found;
}

// Where the process runs from; a replaced program still names its old file, marked as deleted.
std::optional<std::filesystem::path> executableOf(std::uint32_t pid)
{
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
    if (pid == 0 || error) {
        return std::nullopt;
    }
    if (constexpr std::string_view deleted = " (deleted)"; path.ends_with(deleted)) {
        path.resize(path.size() - deleted.size());
    }
    return path;
}

std::optional<platform::RunningApplication> identify(const DesktopEntries& entries,
                                                     const std::optional<WindowClass>& windowClass,
                                                     const std::optional<std::filesystem::path>& executable)
{
    auto entry =
        windowClass ? entries.forWindowClass(windowClass->instance, windowClass->name) : std::nullopt;
    if (!entry && executable) {
        entry = entries.forExecutable(*executable);
    }
    if (entry) {
        return platform::RunningApplication{entry->id, entry->name};
    }
    if (windowClass && !windowClass->name.empty()) {
        return platform::RunningApplication{windowClass->name, windowClass->name};
    }
    return std::nullopt;
}

// No deadline: poll waits as long as it takes.
constexpr Clock::time_point kNoDeadline = Clock::time_point::max();

int millisecondsUntil(Clock::time_point deadline)
{
    if (deadline == kNoDeadline) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<decltype(left)>(left, 0));
}

}  // namespace

X11ActiveApplication::X11ActiveApplication(const std::string& display,
                                           std::shared_ptr<const DesktopEntries> entries, Handler changed)
    : entries_(std::move(entries)), changed_(std::move(changed)),
      stop_(FileDescriptor::opened(::eventfd(0, EFD_CLOEXEC), "cannot make an event"))
{
    try {
        start(display);
    } catch (const std::exception& failure) {
        problem_ = failure.what();
        return;
    }
    thread_ = std::thread([this] { watch(); });
}

X11ActiveApplication::~X11ActiveApplication()
{
    if (thread_.joinable()) {
        ::eventfd_write(stop_.get(), 1);
        thread_.join();
    }
}

bool X11ActiveApplication::available() const
{
    return problem().empty();
}

std::string X11ActiveApplication::problem() const
{
    const std::lock_guard lock(mutex_);
    return problem_;
}

std::optional<platform::RunningApplication> X11ActiveApplication::current() const
{
    const std::lock_guard lock(mutex_);
    return current_;
}

void X11ActiveApplication::start(const std::string& display)
{
    connection_ = std::make_unique<X11Connection>(display);
    atoms_ = {connection_->atom("_NET_SUPPORTED"), connection_->atom("_NET_ACTIVE_WINDOW"),
              connection_->atom("_NET_WM_PID"), connection_->atom("WM_STATE")};
    const auto supported =
        connection_->values(connection_->root(), atoms_.supported, XCB_ATOM_ATOM, kMostSupported);
    if (std::ranges::find(supported, atoms_.activeWindow) == supported.end()) {
        throw std::runtime_error(
            "the window manager on X display " + connection_->display() +
            " does not tell the active window (no _NET_ACTIVE_WINDOW in _NET_SUPPORTED)");
    }
    // Watched before it is read, so that no change falls in between.
    connection_->watchProperties(connection_->root());
    current_ = frontmost();
}

std::optional<platform::RunningApplication> X11ActiveApplication::frontmost()
{
    const auto active = connection_->values(connection_->root(), atoms_.activeWindow, XCB_ATOM_WINDOW, 1);
    // Some window managers name the root when the desktop itself has the focus.
    if (active.empty() || active.front() == XCB_NONE || active.front() == connection_->root()) {
        return std::nullopt;
    }
    // Window managers may keep naming a window that was closed when no other takes its place.
    connection_->watchDestruction(active.front());
    xcb_window_t client = active.front();
    auto windowClass = windowClassOf(*connection_, client);
    if (!windowClass) {
        client = clientBelow(client, kFrameDepth).value_or(client);
        windowClass = windowClassOf(*connection_, client);
    }
    const auto pid = connection_->values(client, atoms_.pid, XCB_ATOM_CARDINAL, 1);
    return identify(*entries_, windowClass, pid.empty() ? std::nullopt : executableOf(pid.front()));
}

// The client is the window that carries WM_STATE or WM_CLASS, the nearest below the frame.
std::optional<std::uint32_t> X11ActiveApplication::clientBelow(std::uint32_t window, int depth)
{
    const auto children = depth > 0 ? connection_->children(window) : std::vector<xcb_window_t>();
    const auto client = std::ranges::find_if(children, [this](xcb_window_t child) {
        return !connection_->values(child, atoms_.wmState, atoms_.wmState, 1).empty() ||
               windowClassOf(*connection_, child).has_value();
    });
    if (client != children.end()) {
        return *client;
    }
    for (const xcb_window_t child : children) {
        if (const auto found = clientBelow(child, depth - 1)) {
            return found;
        }
    }
    return std::nullopt;
}

// Window managers pass through no active window while focus moves from one window to the next: only
// nothing in front that lasts is reported.
void X11ActiveApplication::watch()
{
    std::array<pollfd, 2> watched{{{connection_->descriptor(), POLLIN, 0}, {stop_.get(), POLLIN, 0}}};
    Clock::time_point settling = kNoDeadline;
    // Told from this thread, so that it comes before any change.
    if (const auto initial = current()) {
        changed_(initial);
    }
    try {
        for (;;) {
            if (connection_->changed(atoms_.activeWindow)) {
                const auto application = frontmost();
                settling = application ? kNoDeadline : Clock::now() + kSettleTime;
                if (application) {
                    publish(application);
                }
                continue;
            }
            const int ready = ::poll(watched.data(), watched.size(), millisecondsUntil(settling));
            if (ready < 0 && errno != EINTR) {
                return fail("cannot wait for X display " + connection_->display());
            }
            if (watched[1].revents != 0) {
                return;
            }
            if (ready == 0 && settling != kNoDeadline) {
                settling = kNoDeadline;
                publish(std::nullopt);
            }
        }
    } catch (const std::exception& failure) {
        fail(failure.what());
    }
}

void X11ActiveApplication::publish(const std::optional<platform::RunningApplication>& application)
{
    {
        const std::lock_guard lock(mutex_);
        if (application == current_) {
            return;
        }
        current_ = application;
    }
    changed_(application);
}

// What was in front is not known any more: the engine must not stay aside for it.
void X11ActiveApplication::fail(const std::string& why)
{
    {
        const std::lock_guard lock(mutex_);
        problem_ = why;
    }
    publish(std::nullopt);
}

}  // namespace veltrane::linuxbackend
