#pragma once

#include "Eventually.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

namespace veltrane::kernel {

using Milliseconds = std::chrono::milliseconds;

// Finding input devices by name on a real kernel, and whether someone holds their grab.
class InputNodes {
public:
    // The /dev/input node of the device of that name, other than the node given, once the kernel
    // has made it; throws after the timeout.
    static std::string named(const std::string& name, Milliseconds timeout = Milliseconds(3000),
                             const std::string& other = "")
    {
        std::optional<std::string> node;
        if (!testsupport::eventually([&] { return (node = find(name, other)).has_value(); }, timeout)) {
            throw std::runtime_error("no event node for " + name);
        }
        return *node;
    }
    // Whether no device of that name is left after the timeout.
    static bool gone(const std::string& name, Milliseconds timeout = Milliseconds(3000))
    {
        return testsupport::eventually([&] { return !find(name, ""); }, timeout);
    }
    // Waits until another process grabs the device; false after the timeout.
    static bool waitUntilGrabbed(const std::string& node, Milliseconds timeout = Milliseconds(5000))
    {
        return testsupport::eventually([&] { return !canGrab(node); }, timeout);
    }
    // Whether this process can grab the device now (it lets go at once).
    static bool canGrab(const std::string& node)
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

private:
    static std::optional<std::string> find(const std::string& name, const std::string& other)
    {
        for (const auto& entry : std::filesystem::directory_iterator("/sys/class/input")) {
            const std::string node = "/dev/input/" + entry.path().filename().string();
            std::ifstream nameFile(entry.path() / "device" / "name");
            std::string deviceName;
            if (node.starts_with("/dev/input/event") && node != other && std::getline(nameFile, deviceName) &&
                deviceName == name && std::filesystem::exists(node)) {
                return node;
            }
        }
        return std::nullopt;
    }
};

}  // namespace veltrane::kernel
