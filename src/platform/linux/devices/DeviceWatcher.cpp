#include "platform/linux/devices/DeviceWatcher.h"

#include <libudev.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace veltrane::linuxbackend {

namespace {

constexpr std::string_view kInputFolder = "/dev/input";
constexpr std::string_view kEventPrefix = "event";

bool isEventNode(std::string_view path)
{
    const auto slash = path.rfind('/');
    return path.substr(slash == std::string_view::npos ? 0 : slash + 1).starts_with(kEventPrefix);
}

// The number of /dev/input/eventN, for ordering.
int eventNumber(std::string_view node)
{
    int number = 0;
    for (const char digit : node.substr(node.rfind(kEventPrefix) + kEventPrefix.size())) {
        number = number * 10 + (digit - '0');
    }
    return number;
}

// udevd runs when its control socket exists; a monitor without it would never hear anything.
bool udevRuns()
{
    return ::access("/run/udev/control", F_OK) == 0;
}

}  // namespace

DeviceWatcher::DeviceWatcher()
{
    if (udevRuns()) {
        udev_ = udev_new();
        monitor_ = udev_ == nullptr ? nullptr : udev_monitor_new_from_netlink(udev_, "udev");
    }
    if (monitor_ != nullptr) {
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "input", nullptr);
        udev_monitor_enable_receiving(monitor_);
        return;
    }
    inotify_ = FileDescriptor::opened(inotify_init1(IN_NONBLOCK | IN_CLOEXEC), "cannot watch /dev/input");
    if (inotify_add_watch(inotify_.get(), std::string(kInputFolder).c_str(), IN_CREATE | IN_ATTRIB) < 0) {
        throwLastError("cannot watch /dev/input");
    }
}

int DeviceWatcher::fd() const
{
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : inotify_.get();
}

DeviceWatcher::~DeviceWatcher()
{
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

std::vector<std::string> DeviceWatcher::presentNodes()
{
    std::vector<std::string> nodes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kInputFolder, error)) {
        if (isEventNode(entry.path().native())) {
            nodes.push_back(entry.path());
        }
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const auto& left, const auto& right) { return eventNumber(left) < eventNumber(right); });
    return nodes;
}

std::vector<std::string> DeviceWatcher::read()
{
    return monitor_ != nullptr ? readUdev() : readInotify();
}

std::vector<std::string> DeviceWatcher::readUdev()
{
    std::vector<std::string> added;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* node = udev_device_get_devnode(device);
        const char* action = udev_device_get_action(device);
        if (node != nullptr && action != nullptr && isEventNode(node) && std::string_view(action) == "add") {
            added.emplace_back(node);
        }
        udev_device_unref(device);
    }
    // The monitor's socket ran over and lost what it held: any device there may be one of them.
    return errno == ENOBUFS ? presentNodes() : added;
}

std::vector<std::string> DeviceWatcher::readInotify()
{
    std::vector<std::string> added;
    alignas(inotify_event) std::array<char, 4096> buffer{};
    ssize_t length = 0;
    while ((length = ::read(inotify_.get(), buffer.data(), buffer.size())) > 0) {
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
            if (event->len > 0 && isEventNode(event->name)) {
                added.push_back(std::string(kInputFolder) + "/" + event->name);
            }
            // The queue ran over and lost what came: any device there may be one of them.
            if ((event->mask & IN_Q_OVERFLOW) != 0) {
                return presentNodes();
            }
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return added;
}

}  // namespace veltrane::linuxbackend
