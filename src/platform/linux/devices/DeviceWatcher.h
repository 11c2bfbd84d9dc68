#pragma once

#include "platform/linux/reactor/FileDescriptor.h"

#include <string>
#include <vector>

struct udev;
struct udev_monitor;

namespace veltrane::linuxbackend {

// Tells of input devices as they come. Where udev runs, its monitor reports a device once the
// rules have run, so its permissions are final; elsewhere (a machine without udev) the folder
// /dev/input is watched instead. A device that goes tells its reader itself.
class DeviceWatcher {
public:
    DeviceWatcher();
    ~DeviceWatcher();
    DeviceWatcher(const DeviceWatcher&) = delete;
    DeviceWatcher& operator=(const DeviceWatcher&) = delete;

    // The event devices there now, in the order of their numbers.
    static std::vector<std::string> presentNodes();

    // For poll: readable when something changed.
    int fd() const;
    // Which source it follows: "udev" or "inotify".
    const char* source() const { return monitor_ != nullptr ? "udev" : "inotify"; }
    // The nodes of the devices that came since the last call; when the news of some was lost, those of
    // all the devices there, for the caller to pass over those it has.
    std::vector<std::string> read();

private:
    std::vector<std::string> readUdev();
    std::vector<std::string> readInotify();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    // Without udev.
    FileDescriptor inotify_;
};

}  // namespace veltrane::linuxbackend
