#include "UinputDevice.h"

#include "InputNodes.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace veltrane::kernel {

// Non-blocking, so that reading what others wrote to the device (its lights) never waits.
UinputDevice::UinputDevice() : fd_(::open("/dev/uinput", O_RDWR | O_NONBLOCK | O_CLOEXEC))
{
    if (fd_ < 0) {
        throw std::runtime_error("cannot open /dev/uinput");
    }
}

UinputDevice::~UinputDevice()
{
    ::ioctl(fd_, UI_DEV_DESTROY);
    ::close(fd_);
}

void UinputDevice::create(const std::string& name, std::uint16_t bus, std::uint16_t vendor,
                          std::uint16_t product)
{
    uinput_setup setup{};
    setup.id.bustype = bus;
    setup.id.vendor = vendor;
    setup.id.product = product;
    std::strncpy(setup.name, name.c_str(), UINPUT_MAX_NAME_SIZE - 1);
    if (::ioctl(fd_, UI_DEV_SETUP, &setup) != 0 || ::ioctl(fd_, UI_DEV_CREATE) != 0) {
        throw std::runtime_error("cannot create the uinput device " + name);
    }
    eventNode_ = InputNodes::named(name);
}

void UinputDevice::emit(std::uint16_t type, std::uint16_t code, std::int32_t value)
{
    input_event event{};
    event.type = type;
    event.code = code;
    event.value = value;
    if (::write(fd_, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
        throw std::runtime_error("cannot write to the uinput device");
    }
}

}  // namespace veltrane::kernel
