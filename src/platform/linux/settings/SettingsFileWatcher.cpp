#include "platform/linux/settings/SettingsFileWatcher.h"

#include <sys/epoll.h>
#include <sys/inotify.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

// A file created is still being written: its writer closing it is what tells it is ready.
constexpr std::uint32_t watchedEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_ONLYDIR;

}  // namespace

SettingsFileWatcher::SettingsFileWatcher(const std::filesystem::path& file, Reactor& reactor,
                                         std::function<void()> changed)
    : name_(file.filename().string()), changed_(std::move(changed)),
      inotify_(
          FileDescriptor::opened(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC), "cannot watch " + file.string()))
{
    const auto folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    std::filesystem::create_directories(folder);
    if (::inotify_add_watch(inotify_.get(), folder.c_str(), watchedEvents) < 0) {
        throwLastError("cannot watch " + folder.string());
    }
    // A broken watch cannot be mended from here: the reactor drops it, and changes are no longer told.
    readable_ = reactor.watch("the settings file", inotify_.get(), EPOLLIN, [this](std::uint32_t) {
        if (readEvents()) {
            changed_();
        }
    });
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

}  // namespace veltrane::linuxbackend
