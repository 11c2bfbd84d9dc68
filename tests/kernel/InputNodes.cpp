#include "InputNodes.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <thread>

namespace veltrane::kernel {

namespace {

constexpr auto kPause = std::chrono::milliseconds(10);

std::optional<std::string> find(const std::string& name)
{
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/input")) {
        const std::string node = entry.path().filename().string();
        std::ifstream nameFile(entry.path() / "device" / "name");
        std::string deviceName;
        if (node.starts_with("event") && std::getline(nameFile, deviceName) && deviceName == name &&
            std::filesystem::exists("/dev/input/" + node)) {
            return "/dev/input/" + node;
        }
    }
    return std::nullopt;
}

template <class Condition> bool waitFor(std::chrono::milliseconds timeout, Condition condition)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(kPause);
    }
    return true;
}

}  // namespace

std::string InputNodes::named(const std::string& name, std::chrono::milliseconds timeout)
{
    std::optional<std::string> node;
    if (!waitFor(timeout, [&] { return (node = find(name)).has_value(); })) {
        throw std::runtime_error("no event node for " + name);
    }
    return *node;
}

bool InputNodes::gone(const std::string& name, std::chrono::milliseconds timeout)
{
    return waitFor(timeout, [&] { return !find(name); });
}

bool InputNodes::waitUntilGrabbed(const std::string& node, std::chrono::milliseconds timeout)
{
    return waitFor(timeout, [&] { return !canGrab(node); });
}

bool InputNodes::canGrab(const std::string& node)
{
    const int fd = ::open(node.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool grabbed = ::ioctl(fd, EVIOCGRAB, 1) == 0;
    if (grabbed) {
        ::ioctl(fd, EVIOCGRAB, 0);
    }
    ::close(fd);
    return grabbed;
}

}  // namespace veltrane::kernel
