#pragma once

#include "InputNodes.h"

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace veltrane::kernel {

// Devices for tests on a real kernel, made through uinput: a device's codes are enabled first, then
// create() makes it.
class UinputDevice {
public:
    // Non-blocking, so that reading what others wrote to the device (its lights) never waits.
    UinputDevice() : fd_(::open("/dev/uinput", O_RDWR | O_NONBLOCK | O_CLOEXEC))
    {
        if (fd_ < 0) {
            throw std::runtime_error("cannot open /dev/uinput");
        }
    }
    ~UinputDevice()
    {
        ::ioctl(fd_, UI_DEV_DESTROY);
        ::close(fd_);
    }
    UinputDevice(const UinputDevice&) = delete;
    UinputDevice& operator=(const UinputDevice&) = delete;

    // The device's /dev/input/eventN.
    const std::string& eventNode() const { return eventNode_; }

protected:
    int fd() const { return fd_; }
    void enable(unsigned long request, std::initializer_list<int> codes) const
    {
        for (const int code : codes) {
            ::ioctl(fd_, request, code);
        }
    }
    void create(const std::string& name, std::uint16_t bus, std::uint16_t vendor, std::uint16_t product)
    {
        uinput_setup setup{};
        setup.id = {bus, vendor, product, 0};
        std::strncpy(setup.name, name.c_str(), UINPUT_MAX_NAME_SIZE - 1);
        if (::ioctl(fd_, UI_DEV_SETUP, &setup) != 0 || ::ioctl(fd_, UI_DEV_CREATE) != 0) {
            throw std::runtime_error("cannot create the uinput device " + name);
        }
        eventNode_ = InputNodes::named(name);
    }
    void emit(std::uint16_t type, std::uint16_t code, std::int32_t value)
    {
        const input_event event{{}, type, code, value};
        if (::write(fd_, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
            throw std::runtime_error("cannot write to the uinput device");
        }
    }
    void report() { emit(EV_SYN, SYN_REPORT, 0); }

private:
    int fd_;
    std::string eventNode_;
};

}  // namespace veltrane::kernel
