#include "platform/linux/settings/SettingsFileWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <mutex>
#include <string_view>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

// A file created is still being written: its writer closing it is what tells it is ready.
constexpr std::uint32_t watchedEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_ONLYDIR;

}  // namespace

struct SettingsFileWatcher::Listener {
    explicit Listener(std::function<void()> call) : changed(std::move(call)) {}

    // Held while changed runs, so that the watcher's end waits for a call under way on another thread;
    // recursive for a call that ends the watcher.
    std::recursive_mutex mutex;
    bool listening = true;
    // A call is on the queue and has not started: later changes are its business.
    std::atomic<bool> queued{false};
    std::function<void()> changed;
};

SettingsFileWatcher::SettingsFileWatcher(const std::filesystem::path& file, platform::Queue& queue,
                                         std::function<void()> changed)
    : name_(file.filename().string()), queue_(queue),
      listener_(std::make_shared<Listener>(std::move(changed))),
      inotify_(
          FileDescriptor::opened(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC), "cannot watch " + file.string())),
      stop_(FileDescriptor::opened(::eventfd(0, EFD_CLOEXEC), "cannot watch " + file.string()))
{
    const auto folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    std::filesystem::create_directories(folder);
    if (::inotify_add_watch(inotify_.get(), folder.c_str(), watchedEvents) < 0) {
        throwLastError("cannot watch " + folder.string());
    }
    thread_ = std::thread([this] { watch(); });
}

SettingsFileWatcher::~SettingsFileWatcher()
{
    {
        const std::lock_guard lock(listener_->mutex);
        listener_->listening = false;
    }
    ::eventfd_write(stop_.get(), 1);
    thread_.join();
}

void SettingsFileWatcher::watch()
{
    std::array<pollfd, 2> watched{{{inotify_.get(), POLLIN, 0}, {stop_.get(), POLLIN, 0}}};
    try {
        for (;;) {
            if (::poll(watched.data(), watched.size(), -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throwLastError("poll");
            }
            if (watched[1].revents != 0) {
                return;
            }
            if (watched[0].revents != 0 && readEvents()) {
                notify();
            }
        }
    } catch (const std::system_error&) {
        // The watch is broken and cannot be mended from here; changes are no longer told.
    }
}

// Reads every event waiting, so that a burst of them tells of one change.
bool SettingsFileWatcher::readEvents()
{
    alignas(inotify_event) std::array<char, 4096> buffer{};
    bool concerned = false;
    for (;;) {
        const auto read = ::read(inotify_.get(), buffer.data(), buffer.size());
        if (read < 0 && errno == EAGAIN) {
            return concerned;
        }
        if (read < 0 && errno != EINTR) {
            throwLastError("inotify");
        }
        if (read > 0) {
            concerned =
                concerns(std::string_view(buffer.data(), static_cast<std::size_t>(read))) || concerned;
        }
    }
}

bool SettingsFileWatcher::concerns(std::string_view events) const
{
    while (events.size() >= sizeof(inotify_event)) {
        inotify_event event{};
        std::memcpy(&event, events.data(), sizeof event);
        auto name = events.substr(sizeof event, event.len);
        name = name.substr(0, name.find('\0'));
        // When events were lost, the file's may have been among them.
        if ((event.mask & IN_Q_OVERFLOW) != 0 || name == name_) {
            return true;
        }
        events.remove_prefix(std::min(events.size(), sizeof event + event.len));
    }
    return false;
}

void SettingsFileWatcher::notify()
{
    if (listener_->queued.exchange(true)) {
        return;
    }
    queue_.async([listener = listener_] {
        listener->queued = false;
        const std::lock_guard lock(listener->mutex);
        if (listener->listening) {
            listener->changed();
        }
    });
}

}  // namespace veltrane::linuxbackend
