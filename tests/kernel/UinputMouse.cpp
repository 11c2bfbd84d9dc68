#include "UinputMouse.h"

#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace veltrane::kernel {

UinputMouse::UinputMouse(const std::string& name)
{
    ::ioctl(fd(), UI_SET_EVBIT, EV_KEY);
    for (const int button : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE}) {
        ::ioctl(fd(), UI_SET_KEYBIT, button);
    }
    ::ioctl(fd(), UI_SET_EVBIT, EV_REL);
    for (const int axis : {REL_X, REL_Y, REL_WHEEL}) {
        ::ioctl(fd(), UI_SET_RELBIT, axis);
    }
    create(name, BUS_USB, 0x046D, 0xC077);
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

}  // namespace veltrane::kernel
