#pragma once

#include <chrono>
#include <string>

namespace veltrane::kernel {

// Finding input devices by name on a real kernel, and whether someone holds their grab.
class InputNodes {
public:
    // The /dev/input node of the device of that name, once the kernel has made it; throws after
    // the timeout.
    static std::string named(const std::string& name,
                             std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
    // Whether no device of that name is left after the timeout.
    static bool gone(const std::string& name,
                     std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
    // Waits until another process grabs the device; false after the timeout.
    static bool waitUntilGrabbed(const std::string& node,
                                 std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // Whether this process can grab the device now (it lets go at once).
    static bool canGrab(const std::string& node);
};

}  // namespace veltrane::kernel
