#include "UinputMouse.h"

#include "InputNodes.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace veltrane::kernel {

UinputMouse::UinputMouse(const std::string& name) : fd_(::open("/dev/uinput", O_WRONLY | O_CLOEXEC))
{
    if (fd_ < 0) {
        throw std::runtime_error("cannot open /dev/uinput");
    }
    ::ioctl(fd_, UI_SET_EVBIT, EV_KEY);
    for (const int button : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE}) {
        ::ioctl(fd_, UI_SET_KEYBIT, button);
    }
    ::ioctl(fd_, UI_SET_EVBIT, EV_REL);
    for (const int axis : {REL_X, REL_Y, REL_WHEEL}) {
        ::ioctl(fd_, UI_SET_RELBIT, axis);
    }
    uinput_setup setup{};
    setup.id.bustype = BUS_USB;
    setup.id.vendor = 0x046D;
    setup.id.product = 0xC077;
    std::strncpy(setup.name, name.c_str(), UINPUT_MAX_NAME_SIZE - 1);
    if (::ioctl(fd_, UI_DEV_SETUP, &setup) != 0 || ::ioctl(fd_, UI_DEV_CREATE) != 0) {
        ::close(fd_);
        throw std::runtime_error("cannot create the uinput mouse " + name);
    }
    eventNode_ = InputNodes::named(name);
}

UinputMouse::~UinputMouse()
{
    ::ioctl(fd_, UI_DEV_DESTROY);
    ::close(fd_);
}

void UinputMouse::click(std::uint16_t button)
{
    for (const int value : {1, 0}) {
        emit(EV_KEY, button, value);
        emit(EV_SYN, SYN_REPORT, 0);
    }
}

void UinputMouse::move(std::int32_t dx, std::int32_t dy)
{
    emit(EV_REL, REL_X, dx);
    emit(EV_REL, REL_Y, dy);
    emit(EV_SYN, SYN_REPORT, 0);
}

void UinputMouse::scroll(std::int32_t detents)
{
    emit(EV_REL, REL_WHEEL, detents);
    emit(EV_SYN, SYN_REPORT, 0);
}

void UinputMouse::emit(std::uint16_t type, std::uint16_t code, std::int32_t value)
{
    input_event event{};
    event.type = type;
    event.code = code;
    event.value = value;
    if (::write(fd_, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
        throw std::runtime_error("cannot write to the uinput mouse");
    }
}

}  // namespace veltrane::kernel
