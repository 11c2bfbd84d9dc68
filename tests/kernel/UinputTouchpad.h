#pragma once

#include "UinputDevice.h"

#include <linux/input.h>

#include <cstdint>
#include <string>

namespace veltrane::kernel {

// A laptop's touchpad: on I2C, as built-in pads are, speaking the kernel's multitouch protocol B
// over a surface 100 mm wide and 66 mm deep, with a button under it. Positions are in its own
// units, 12 to the millimetre, from the top left.
class UinputTouchpad : public UinputDevice {
public:
    static constexpr std::int32_t kWidth = 1200;
    static constexpr std::int32_t kHeight = 800;

    explicit UinputTouchpad(const std::string& name)
    {
        libevdev_enable_property(description(), INPUT_PROP_POINTER);
        libevdev_enable_property(description(), INPUT_PROP_BUTTONPAD);
        enable(EV_KEY, {BTN_LEFT, BTN_TOUCH, BTN_TOOL_FINGER, BTN_TOOL_DOUBLETAP, BTN_TOOL_TRIPLETAP});
        constexpr std::int32_t kUnitsPerMillimetre = 12;
        axis(ABS_X, kWidth, kUnitsPerMillimetre);
        axis(ABS_Y, kHeight, kUnitsPerMillimetre);
        axis(ABS_MT_SLOT, 4, 0);  // five slots
        axis(ABS_MT_TRACKING_ID, 0xFFFF, 0);
        axis(ABS_MT_POSITION_X, kWidth, kUnitsPerMillimetre);
        axis(ABS_MT_POSITION_Y, kHeight, kUnitsPerMillimetre);
        axis(ABS_MT_PRESSURE, 255, 0);
        create(name, BUS_I2C, 0x04F3, 0x3140);
    }

    // A finger lands in a slot, moves there, or lifts; each is a report of its own.
    void touch(int slot, std::int32_t x, std::int32_t y)
    {
        emit(EV_ABS, ABS_MT_SLOT, slot);
        emit(EV_ABS, ABS_MT_TRACKING_ID, ++trackingId_);
        emit(EV_ABS, ABS_MT_PRESSURE, 60);
        fingers(+1);
        move(slot, x, y);
    }
    void move(int slot, std::int32_t x, std::int32_t y)
    {
        emit(EV_ABS, ABS_MT_SLOT, slot);
        emit(EV_ABS, ABS_MT_POSITION_X, x);
        emit(EV_ABS, ABS_MT_POSITION_Y, y);
        emit(EV_ABS, ABS_X, x);
        emit(EV_ABS, ABS_Y, y);
        report();
    }
    void lift(int slot)
    {
        emit(EV_ABS, ABS_MT_SLOT, slot);
        emit(EV_ABS, ABS_MT_TRACKING_ID, -1);
        fingers(-1);
        report();
    }
    // The pad is pressed down, or let up.
    void press(bool down)
    {
        emit(EV_KEY, BTN_LEFT, down ? 1 : 0);
        report();
    }

private:
    void axis(unsigned code, std::int32_t maximum, std::int32_t resolution) const
    {
        const input_absinfo range{
            .value = 0, .minimum = 0, .maximum = maximum, .fuzz = 0, .flat = 0, .resolution = resolution};
        enable(EV_ABS, {code}, &range);
    }
    // BTN_TOUCH and the tool buttons say how many fingers are down, as a real pad's driver does.
    void fingers(int change)
    {
        const auto tool = [](int count) {
            return static_cast<std::uint16_t>(count == 1   ? BTN_TOOL_FINGER
                                              : count == 2 ? BTN_TOOL_DOUBLETAP
                                                           : BTN_TOOL_TRIPLETAP);
        };
        if (fingers_ > 0) {
            emit(EV_KEY, tool(fingers_), 0);
        }
        fingers_ += change;
        if (fingers_ > 0) {
            emit(EV_KEY, tool(fingers_), 1);
        }
        emit(EV_KEY, BTN_TOUCH, fingers_ > 0 ? 1 : 0);
    }

    int trackingId_ = 0;
    int fingers_ = 0;
};

}  // namespace veltrane::kernel
