#pragma once

#include "UinputDevice.h"

#include <cstdint>
#include <string>

namespace veltrane::kernel {

// A laptop's touchpad for tests on a real kernel, made through uinput: on I2C, as built-in pads
// are, speaking the kernel's multitouch protocol B over a surface 100 mm wide and 66 mm deep,
// with a button under it. Positions are in its own units, 12 to the millimetre, from the top left.
class UinputTouchpad : public UinputDevice {
public:
    static constexpr std::int32_t kWidth = 1200;
    static constexpr std::int32_t kHeight = 800;

    explicit UinputTouchpad(const std::string& name);

    // A finger lands in a slot, moves there, or lifts; each is a report of its own.
    void touch(int slot, std::int32_t x, std::int32_t y);
    void move(int slot, std::int32_t x, std::int32_t y);
    void lift(int slot);
    // The pad is pressed down, or let up.
    void press(bool down);

private:
    void fingers(int change);

    int trackingId_ = 0;
    int fingers_ = 0;
};

}  // namespace veltrane::kernel
