#pragma once

#include "platform/Queue.h"
#include "platform/linux/reactor/FileDescriptor.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

namespace veltrane::linuxbackend {

// Tells when a file may have been changed by someone else, whether it was written in place or, as
// editors often do, replaced by a new file renamed over it. The file's folder is watched, created when
// missing, so that the file may come and go. The program's own writes are seen too; reading the file
// again then finds nothing changed.
class SettingsFileWatcher {
public:
    // Calls changed on the queue after each change; changes that come before it has run call it once.
    SettingsFileWatcher(const std::filesystem::path& file, platform::Queue& queue,
                        std::function<void()> changed);
    // Once it returns, changed is not called any more: a call already running on another thread is waited
    // for, and calls still queued do nothing.
    ~SettingsFileWatcher();
    SettingsFileWatcher(const SettingsFileWatcher&) = delete;
    SettingsFileWatcher& operator=(const SettingsFileWatcher&) = delete;

private:
    struct Listener;

    void watch();
    bool readEvents();
    bool concerns(std::string_view events) const;
    void notify();

    std::string name_;
    platform::Queue& queue_;
    // Shared with the tasks on the queue, which may outlive the watcher.
    std::shared_ptr<Listener> listener_;
    FileDescriptor inotify_;
    FileDescriptor stop_;
    std::thread thread_;
};

}  // namespace veltrane::linuxbackend
