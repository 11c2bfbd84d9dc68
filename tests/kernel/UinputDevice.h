#pragma once

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace veltrane::kernel {

// Devices for tests on a real kernel, made through uinput from libevdev's description of them: a
// device's codes are enabled first, then create() makes it.
class UinputDevice {
public:
    UinputDevice() = default;
    ~UinputDevice()
    {
        libevdev_uinput_destroy(device_);
        libevdev_free(description_);
        ::close(fd_);
    }
    UinputDevice(const UinputDevice&) = delete;
    UinputDevice& operator=(const UinputDevice&) = delete;

    // The device's /dev/input/eventN.
    const std::string& eventNode() const { return eventNode_; }

protected:
    int fd() const { return fd_; }
    libevdev* description() const { return description_; }
    // The codes of one type, each with the data its type needs (an axis's range), if any.
    void enable(unsigned type, std::initializer_list<unsigned> codes, const void* data = nullptr) const
    {
        for (const unsigned code : codes) {
            libevdev_enable_event_code(description_, type, code, data);
        }
    }
    void create(const std::string& name, std::uint16_t bus, std::uint16_t vendor, std::uint16_t product)
    {
        libevdev_set_name(description_, name.c_str());
        libevdev_set_id_bustype(description_, bus);
        libevdev_set_id_vendor(description_, vendor);
        libevdev_set_id_product(description_, product);
        if (libevdev_uinput_create_from_device(description_, fd_, &device_) != 0 ||
            libevdev_uinput_get_devnode(device_) == nullptr) {
            throw std::runtime_error("cannot create the uinput device " + name);
        }
        eventNode_ = libevdev_uinput_get_devnode(device_);
    }
    void emit(std::uint16_t type, std::uint16_t code, std::int32_t value)
    {
        if (libevdev_uinput_write_event(device_, type, code, value) != 0) {
            throw std::runtime_error("cannot write to the uinput device");
        }
    }
    void report() { emit(EV_SYN, SYN_REPORT, 0); }

private:
    libevdev* description_ = libevdev_new();
    // Non-blocking, so that reading what others wrote to the device (its lights) never waits.
    int fd_ = ::open("/dev/uinput", O_RDWR | O_NONBLOCK | O_CLOEXEC);
    libevdev_uinput* device_ = nullptr;
    std::string eventNode_;
};

}  // namespace veltrane::kernel
