#pragma once

#include "UinputDevice.h"

#include <cstdint>
#include <optional>
#include <string>

namespace veltrane::kernel {

// A keyboard for tests on a real kernel, made through uinput: a USB one, which sends the key's
// HID usage as MSC_SCAN before each key as hid-input does, or an AT one, which does not.
class UinputKeyboard : public UinputDevice {
public:
    enum class Bus { usb, at };

    UinputKeyboard(const std::string& name, Bus bus, std::uint16_t vendor, std::uint16_t product);

    // A key of the kernel's KEY_* codes goes down or up, and the report ends.
    void key(std::uint16_t linuxCode, bool down);
    void tap(std::uint16_t linuxCode);
    // The caps lock light as the last program that set it left it; nothing while none did.
    std::optional<bool> capsLockLight();

private:
    const Bus bus_;
    std::optional<bool> capsLockLight_;
};

}  // namespace veltrane::kernel
