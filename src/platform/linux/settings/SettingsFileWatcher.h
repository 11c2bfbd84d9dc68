#pragma once

#include "platform/linux/reactor/FileDescriptor.h"
#include "platform/linux/reactor/Reactor.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace veltrane::linuxbackend {

// Tells when a file may have been changed by someone else, whether it was written in place or, as
// editors often do, replaced by a new file renamed over it. The file's folder is watched, created when
// missing, so that the file may come and go. The program's own writes are seen too; reading the file
// again then finds nothing changed. Made, used and destroyed on the reactor's thread.
class SettingsFileWatcher {
public:
    // Calls changed on the reactor's thread after each change; changes that come together call it once.
    SettingsFileWatcher(const std::filesystem::path& file, Reactor& reactor, std::function<void()> changed);

private:
    bool readEvents();
    bool concerns(std::string_view events) const;

    std::string name_;
    std::function<void()> changed_;
    FileDescriptor inotify_;
    Reactor::Source readable_;
};

}  // namespace veltrane::linuxbackend
