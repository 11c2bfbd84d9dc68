#pragma once

#include "UinputDevice.h"

#include <cstdint>
#include <string>

namespace veltrane::kernel {

// A USB mouse for tests on a real kernel, made through uinput: three buttons, motion and a wheel.
class UinputMouse : public UinputDevice {
public:
    explicit UinputMouse(const std::string& name);

    // A button of the kernel's BTN_* codes is pressed and released, each in a report of its own.
    void click(std::uint16_t button);
    void move(std::int32_t dx, std::int32_t dy);
    void scroll(std::int32_t detents);
};

}  // namespace veltrane::kernel
