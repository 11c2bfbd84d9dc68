#include "UinputKeyboard.h"

#include "InputNodes.h"

#include "platform/KeyTable.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace veltrane::kernel {

UinputKeyboard::UinputKeyboard(const std::string& name, Bus bus, std::uint16_t vendor, std::uint16_t product)
    : bus_(bus), fd_(::open("/dev/uinput", O_RDWR | O_NONBLOCK | O_CLOEXEC))
{
    if (fd_ < 0) {
        throw std::runtime_error("cannot open /dev/uinput");
    }
    ::ioctl(fd_, UI_SET_EVBIT, EV_KEY);
    for (const auto& key : platform::KeyTable::keys()) {
        ::ioctl(fd_, UI_SET_KEYBIT, key.linuxCode);
    }
    ::ioctl(fd_, UI_SET_EVBIT, EV_LED);
    ::ioctl(fd_, UI_SET_LEDBIT, LED_CAPSL);
    if (bus_ == Bus::usb) {
        ::ioctl(fd_, UI_SET_EVBIT, EV_MSC);
        ::ioctl(fd_, UI_SET_MSCBIT, MSC_SCAN);
    }
    uinput_setup setup{};
    setup.id.bustype = bus_ == Bus::usb ? BUS_USB : BUS_I8042;
    setup.id.vendor = vendor;
    setup.id.product = product;
    std::strncpy(setup.name, name.c_str(), UINPUT_MAX_NAME_SIZE - 1);
    if (::ioctl(fd_, UI_DEV_SETUP, &setup) != 0 || ::ioctl(fd_, UI_DEV_CREATE) != 0) {
        ::close(fd_);
        throw std::runtime_error("cannot create the uinput keyboard " + name);
    }
    eventNode_ = InputNodes::named(name);
}

UinputKeyboard::~UinputKeyboard()
{
    ::ioctl(fd_, UI_DEV_DESTROY);
    ::close(fd_);
}

void UinputKeyboard::key(std::uint16_t linuxCode, bool down)
{
    const auto* known = platform::KeyTable::byLinuxCode(linuxCode);
    if (bus_ == Bus::usb && known != nullptr) {
        emit(EV_MSC, MSC_SCAN, static_cast<std::int32_t>(known->usagePage << 16 | known->usage));
    }
    emit(EV_KEY, linuxCode, down ? 1 : 0);
    emit(EV_SYN, SYN_REPORT, 0);
}

void UinputKeyboard::tap(std::uint16_t linuxCode)
{
    key(linuxCode, true);
    key(linuxCode, false);
}

std::optional<bool> UinputKeyboard::capsLockLight()
{
    input_event event{};
    while (::read(fd_, &event, sizeof event) == static_cast<ssize_t>(sizeof event)) {
        if (event.type == EV_LED && event.code == LED_CAPSL) {
            capsLockLight_ = event.value != 0;
        }
    }
    return capsLockLight_;
}

void UinputKeyboard::emit(std::uint16_t type, std::uint16_t code, std::int32_t value)
{
    input_event event{};
    event.type = type;
    event.code = code;
    event.value = value;
    if (::write(fd_, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
        throw std::runtime_error("cannot write to the uinput keyboard");
    }
}

}  // namespace veltrane::kernel
