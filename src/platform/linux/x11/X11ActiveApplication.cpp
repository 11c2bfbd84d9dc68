#include "platform/linux/x11/X11ActiveApplication.h"

#include "platform/linux/system/PrintableText.h"
#include "platform/linux/x11/X11Connection.h"

#include <sys/epoll.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <utility>

namespace veltrane::linuxbackend {

namespace {

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

// WM_CLASS holds the instance and the class, each ended by a NUL.
std::optional<WindowClass> windowClassIn(std::string_view text)
{
    const auto split = std::min(text.find('\0'), text.size());
    WindowClass found{std::string(text.substr(0, split)),
                      std::string(split < text.size() ? text.substr(split + 1) : "")};
    found.name.resize(std::min(found.name.find('\0'), found.name.size()));
    if (found.instance.empty() && found.name.empty()) {
        return std::nullopt;
    }
    return found;
}

// It should be a STRING, but some toolkits write it as UTF8_STRING.
std::string windowClassOf(X11Connection& connection, xcb_window_t window)
{
    return connection.text(window, XCB_ATOM_WM_CLASS, XCB_GET_PROPERTY_TYPE_ANY, kMostClass);
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

}  // namespace

std::optional<platform::RunningApplication>
X11ActiveApplication::identify(const DesktopEntries& entries, std::string_view windowClassText,
                               const std::optional<std::filesystem::path>& executable)
{
    const auto windowClass = windowClassIn(windowClassText);
    auto entry =
        windowClass ? entries.forWindowClass(windowClass->instance, windowClass->name) : std::nullopt;
    if (!entry && executable) {
        entry = entries.forExecutable(*executable);
    }
    if (entry) {
        return platform::RunningApplication{entry->id, entry->name};
    }
    if (windowClass && !windowClass->name.empty() && isPrintableText(windowClass->name)) {
        return platform::RunningApplication{windowClass->name, windowClass->name};
    }
    return std::nullopt;
}

X11ActiveApplication::X11ActiveApplication(Reactor& reactor, const std::string& display,
                                           std::shared_ptr<const DesktopEntries> entries, Handler changed)
    : reactor_(reactor), entries_(std::move(entries)), changed_(std::move(changed))
{
    try {
        start(display);
    } catch (const std::exception& failure) {
        problem_ = failure.what();
        return;
    }
    // The application found is told from the loop, to a maker that holds this by then, and before
    // any change.
    starting_ = reactor_.after("the start of X display " + connection_->display(), {}, [this] { watch(); });
}

X11ActiveApplication::~X11ActiveApplication() = default;

bool X11ActiveApplication::available() const
{
    return problem().empty();
}

std::string X11ActiveApplication::problem() const
{
    return problem_;
}

std::optional<platform::RunningApplication> X11ActiveApplication::current() const
{
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

void X11ActiveApplication::watch()
{
    if (current_) {
        changed_(current_);
    }
    readable_ = reactor_.watch("X display " + connection_->display(), connection_->descriptor(), EPOLLIN,
                               [this](std::uint32_t) { follow(); });
    // Events that came during the start wait inside xcb already, where the descriptor does not show them.
    follow();
}

// Each round trip may take events into xcb's queue: it is read until it holds no change. Window
// managers pass through no active window while focus moves from one window to the next: only nothing
// in front that lasts is told.
void X11ActiveApplication::follow()
{
    try {
        while (connection_->changed(atoms_.activeWindow)) {
            if (const auto application = frontmost()) {
                settling_.reset();
                publish(application);
            } else {
                settling_ = reactor_.after("the active window on X display " + connection_->display(),
                                           kSettleTime, [this] { publish(std::nullopt); });
            }
        }
    } catch (const std::exception& failure) {
        fail(failure.what());
    }
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
    if (!windowClassIn(windowClass)) {
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
               windowClassIn(windowClassOf(*connection_, child)).has_value();
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

void X11ActiveApplication::publish(const std::optional<platform::RunningApplication>& application)
{
    if (application != current_) {
        current_ = application;
        changed_(application);
    }
}

// What was in front is not known any more: the engine must not stay aside for it. A connection in
// error stays readable: its sources go rather than be called for ever.
void X11ActiveApplication::fail(const std::string& why)
{
    problem_ = why;
    readable_.reset();
    settling_.reset();
    publish(std::nullopt);
}

}  // namespace veltrane::linuxbackend
