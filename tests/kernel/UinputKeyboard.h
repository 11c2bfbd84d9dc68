#pragma once

#include "UinputDevice.h"
#include "platform/KeyTable.h"

#include <linux/input.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>

namespace veltrane::kernel {

// A keyboard: a USB one, which sends the key's HID usage as MSC_SCAN before each key as hid-input
// does, or an AT one, which does not.
class UinputKeyboard : public UinputDevice {
public:
    enum class Bus { usb, at };

    UinputKeyboard(const std::string& name, Bus bus, std::uint16_t vendor, std::uint16_t product) : bus_(bus)
    {
        for (const auto& key : platform::KeyTable::keys()) {
            enable(EV_KEY, {key.linuxCode});
        }
        enable(EV_LED, {LED_CAPSL});
        if (bus_ == Bus::usb) {
            enable(EV_MSC, {MSC_SCAN});
        }
        create(name, bus_ == Bus::usb ? BUS_USB : BUS_I8042, vendor, product);
    }

    // A key of the kernel's KEY_* codes goes down or up, and the report ends.
    void key(std::uint16_t linuxCode, bool down)
    {
        const auto* known = platform::KeyTable::byLinuxCode(linuxCode);
        if (bus_ == Bus::usb && known != nullptr) {
            emit(EV_MSC, MSC_SCAN, static_cast<std::int32_t>(known->usagePage << 16 | known->usage));
        }
        emit(EV_KEY, linuxCode, down ? 1 : 0);
        report();
    }
    void tap(std::uint16_t linuxCode)
    {
        key(linuxCode, true);
        key(linuxCode, false);
    }
    // The caps lock light as the last program that set it left it; nothing while none did.
    std::optional<bool> capsLockLight()
    {
        input_event event{};
        while (::read(fd(), &event, sizeof event) == static_cast<ssize_t>(sizeof event)) {
            if (event.type == EV_LED && event.code == LED_CAPSL) {
                capsLockLight_ = event.value != 0;
            }
        }
        return capsLockLight_;
    }

private:
    const Bus bus_;
    std::optional<bool> capsLockLight_;
};

}  // namespace veltrane::kernel
