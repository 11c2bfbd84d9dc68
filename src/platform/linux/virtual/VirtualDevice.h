#pragma once

#include "platform/linux/reactor/FileDescriptor.h"

#include <linux/input.h>

#include <memory>
#include <optional>
#include <span>

struct libevdev;
struct libevdev_uinput;

namespace veltrane::linuxbackend {

// A device of our own through uinput, which the desktop reads like any keyboard or mouse. The
// kernel removes it, and releases whatever is held on it, when it is destroyed or the process dies.
class VirtualDevice {
public:
    static constexpr const char* kKeyboardName = "Veltrane Virtual Keyboard";
    static constexpr const char* kPointerName = "Veltrane Virtual Pointer";

    // Throws std::system_error naming what failed (no /dev/uinput, no permission).
    static std::unique_ptr<VirtualDevice> keyboard();
    static std::unique_ptr<VirtualDevice> pointer();

    ~VirtualDevice();
    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;

    // Writes the events in order, going on after a signal or a short write: the number the kernel
    // took, fewer than given when it refused the next (errno tells why).
    std::size_t write(std::span<const input_event> events) const;
    // For poll: readable when the desktop wrote to the device (a keyboard's lights).
    int fd() const;
    // The caps lock light the desktop set, when it set one since the last call.
    std::optional<bool> readCapsLockLight() const;

private:
    VirtualDevice(FileDescriptor fd, libevdev_uinput* device) : fd_(std::move(fd)), device_(device) {}
    static std::unique_ptr<VirtualDevice> create(libevdev* description);

    FileDescriptor fd_;
    libevdev_uinput* device_;
};

}  // namespace veltrane::linuxbackend
