#include "UinputKeyboard.h"

#include "platform/KeyTable.h"

#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace veltrane::kernel {

UinputKeyboard::UinputKeyboard(const std::string& name, Bus bus, std::uint16_t vendor, std::uint16_t product)
    : bus_(bus)
{
    ::ioctl(fd(), UI_SET_EVBIT, EV_KEY);
    for (const auto& key : platform::KeyTable::keys()) {
        ::ioctl(fd(), UI_SET_KEYBIT, key.linuxCode);
    }
    ::ioctl(fd(), UI_SET_EVBIT, EV_LED);
    ::ioctl(fd(), UI_SET_LEDBIT, LED_CAPSL);
    if (bus_ == Bus::usb) {
        ::ioctl(fd(), UI_SET_EVBIT, EV_MSC);
        ::ioctl(fd(), UI_SET_MSCBIT, MSC_SCAN);
    }
    create(name, bus_ == Bus::usb ? BUS_USB : BUS_I8042, vendor, product);
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
    while (::read(fd(), &event, sizeof event) == static_cast<ssize_t>(sizeof event)) {
        if (event.type == EV_LED && event.code == LED_CAPSL) {
            capsLockLight_ = event.value != 0;
        }
    }
    return capsLockLight_;
}

}  // namespace veltrane::kernel
