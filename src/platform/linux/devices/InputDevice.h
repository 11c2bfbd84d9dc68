#pragma once

#include "platform/linux/devices/DeviceCapabilities.h"
#include "platform/linux/reactor/FileDescriptor.h"

#include <linux/input.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct libevdev;

namespace veltrane::linuxbackend {

// One opened /dev/input/event device. It is grabbed (its events then reach this program only)
// as soon as no key is down on it, so that a key held at the grab never stays down for the desktop.
class InputDevice {
public:
    using EventHandler = std::function<void(const input_event& event)>;

    // Throws std::system_error naming the node when it cannot be opened.
    explicit InputDevice(std::string node);
    ~InputDevice();
    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    const std::string& node() const { return node_; }
    const DeviceCapabilities& capabilities() const { return capabilities_; }
    int fd() const { return fd_.get(); }
    bool grabbed() const { return grabbed_; }

    // Grabs the device now when no key is down on it, else once the last key goes up.
    void grabWhenIdle();
    // Its events reach the reader without a grab, alongside the desktop, which keeps them too.
    void readAlongside() { alongside_ = true; }
    void ungrab();
    // Reads what the device has. Events of a grabbed device, or one read alongside, reach the
    // handler, resynchronised after the kernel dropped some; a device still waiting for its grab
    // only tracks its keys.
    // False when the device is gone.
    bool read(const EventHandler& handler);
    // The keys down on the device as far as its events told.
    std::vector<std::uint16_t> keysDown() const;
    // Sets the caps lock light, on keyboards that have one.
    void setCapsLockLight(bool on);
    // The opened device, for reading its state.
    const libevdev* evdev() const { return device_; }

private:
    void tryGrab();

    std::string node_;
    FileDescriptor fd_;
    libevdev* device_ = nullptr;
    DeviceCapabilities capabilities_;
    bool wantGrab_ = false;
    bool grabbed_ = false;
    bool alongside_ = false;
};

}  // namespace veltrane::linuxbackend
