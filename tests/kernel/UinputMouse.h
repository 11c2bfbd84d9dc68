#pragma once

#include "UinputDevice.h"

#include <linux/input.h>

#include <cstdint>
#include <string>

namespace veltrane::kernel {

// A USB mouse: three buttons, motion and a wheel.
class UinputMouse : public UinputDevice {
public:
    explicit UinputMouse(const std::string& name)
    {
        enable(EV_KEY, {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE});
        enable(EV_REL, {REL_X, REL_Y, REL_WHEEL});
        create(name, BUS_USB, 0x046D, 0xC077);
    }

    // A button of the kernel's BTN_* codes is pressed and released, each in a report of its own.
    void click(std::uint16_t button)
    {
        for (const int value : {1, 0}) {
            emit(EV_KEY, button, value);
            report();
        }
    }
    void move(std::int32_t dx, std::int32_t dy)
    {
        emit(EV_REL, REL_X, dx);
        emit(EV_REL, REL_Y, dy);
        report();
    }
    void scroll(std::int32_t detents)
    {
        emit(EV_REL, REL_WHEEL, detents);
        report();
    }
};

}  // namespace veltrane::kernel
