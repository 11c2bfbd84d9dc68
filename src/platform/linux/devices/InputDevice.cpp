#include "platform/linux/devices/InputDevice.h"

#include <libevdev/libevdev.h>

#include <fcntl.h>

#include <cerrno>
#include <ctime>
#include <system_error>

namespace veltrane::linuxbackend {

InputDevice::InputDevice(std::string node) : node_(std::move(node))
{
    fd_ = FileDescriptor(::open(node_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd_.valid() && errno == EACCES) {
        fd_ = FileDescriptor::opened(::open(node_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC),
                                     "cannot open " + node_);
    }
    if (!fd_.valid()) {
        throwLastError("cannot open " + node_);
    }
    const int result = libevdev_new_from_fd(fd_.get(), &device_);
    if (result != 0) {
        throw std::system_error(-result, std::generic_category(), "cannot read " + node_);
    }
    capabilities_ = DeviceCapabilities::read(device_);
    // Events of several devices are put in order by their times, on a clock that never jumps.
    libevdev_set_clock_id(device_, CLOCK_MONOTONIC);
}

InputDevice::~InputDevice()
{
    ungrab();
    libevdev_free(device_);
}

void InputDevice::grabWhenIdle()
{
    wantGrab_ = true;
    tryGrab();
}

void InputDevice::ungrab()
{
    wantGrab_ = false;
    if (grabbed_) {
        libevdev_grab(device_, LIBEVDEV_UNGRAB);
        grabbed_ = false;
    }
}

bool InputDevice::read(const EventHandler& handler)
{
    input_event event{};
    unsigned flags = LIBEVDEV_READ_FLAG_NORMAL;
    for (;;) {
        const int status = libevdev_next_event(device_, flags, &event);
        if (status == -EAGAIN) {
            if (flags == LIBEVDEV_READ_FLAG_SYNC) {
                flags = LIBEVDEV_READ_FLAG_NORMAL;
                continue;
            }
            return true;
        }
        // Interrupted, libevdev keeps what it read before and gives it when asked again; nothing
        // else would ask, as the kernel has nothing more to tell.
        if (status == -EINTR) {
            continue;
        }
        if (status < 0) {
            return status != -ENODEV;
        }
        // After a dropped report the kernel's state is replayed as the changes it missed.
        if (status == LIBEVDEV_READ_STATUS_SYNC) {
            flags = LIBEVDEV_READ_FLAG_SYNC;
        }
        if (grabbed_ || alongside_) {
            handler(event);
        } else if (event.type == EV_SYN && event.code == SYN_REPORT) {
            tryGrab();
        }
    }
}

void InputDevice::setCapsLockLight(bool on)
{
    if (capabilities_.leds[LED_CAPSL]) {
        libevdev_kernel_set_led_value(device_, LED_CAPSL, on ? LIBEVDEV_LED_ON : LIBEVDEV_LED_OFF);
    }
}

std::vector<std::uint16_t> InputDevice::keysDown() const
{
    std::vector<std::uint16_t> down;
    for (unsigned code = 0; code < KEY_CNT; ++code) {
        if (capabilities_.keys[code] && libevdev_get_event_value(device_, EV_KEY, code) != 0) {
            down.push_back(static_cast<std::uint16_t>(code));
        }
    }
    return down;
}

void InputDevice::tryGrab()
{
    if (wantGrab_ && !grabbed_ && keysDown().empty()) {
        grabbed_ = libevdev_grab(device_, LIBEVDEV_GRAB) == 0;
    }
}

}  // namespace veltrane::linuxbackend
