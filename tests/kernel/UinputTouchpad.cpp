#include "UinputTouchpad.h"

#include <linux/uinput.h>
#include <sys/ioctl.h>

namespace veltrane::kernel {

namespace {

constexpr int kSlots = 5;
constexpr std::int32_t kUnitsPerMillimetre = 12;

void setUp(int fd, std::uint16_t axis, std::int32_t maximum, std::int32_t resolution)
{
    uinput_abs_setup setup{};
    setup.code = axis;
    setup.absinfo.maximum = maximum;
    setup.absinfo.resolution = resolution;
    ::ioctl(fd, UI_SET_ABSBIT, axis);
    ::ioctl(fd, UI_ABS_SETUP, &setup);
}

}  // namespace

UinputTouchpad::UinputTouchpad(const std::string& name)
{
    ::ioctl(fd(), UI_SET_PROPBIT, INPUT_PROP_POINTER);
    ::ioctl(fd(), UI_SET_PROPBIT, INPUT_PROP_BUTTONPAD);
    ::ioctl(fd(), UI_SET_EVBIT, EV_KEY);
    for (const int button : {BTN_LEFT, BTN_TOUCH, BTN_TOOL_FINGER, BTN_TOOL_DOUBLETAP, BTN_TOOL_TRIPLETAP}) {
        ::ioctl(fd(), UI_SET_KEYBIT, button);
    }
    ::ioctl(fd(), UI_SET_EVBIT, EV_ABS);
    setUp(fd(), ABS_X, kWidth, kUnitsPerMillimetre);
    setUp(fd(), ABS_Y, kHeight, kUnitsPerMillimetre);
    setUp(fd(), ABS_MT_SLOT, kSlots - 1, 0);
    setUp(fd(), ABS_MT_TRACKING_ID, 0xFFFF, 0);
    setUp(fd(), ABS_MT_POSITION_X, kWidth, kUnitsPerMillimetre);
    setUp(fd(), ABS_MT_POSITION_Y, kHeight, kUnitsPerMillimetre);
    setUp(fd(), ABS_MT_PRESSURE, 255, 0);
    create(name, BUS_I2C, 0x04F3, 0x3140);
}

void UinputTouchpad::touch(int slot, std::int32_t x, std::int32_t y)
{
    emit(EV_ABS, ABS_MT_SLOT, slot);
    emit(EV_ABS, ABS_MT_TRACKING_ID, ++trackingId_);
    emit(EV_ABS, ABS_MT_PRESSURE, 60);
    fingers(+1);
    move(slot, x, y);
}

void UinputTouchpad::move(int slot, std::int32_t x, std::int32_t y)
{
    emit(EV_ABS, ABS_MT_SLOT, slot);
    emit(EV_ABS, ABS_MT_POSITION_X, x);
    emit(EV_ABS, ABS_MT_POSITION_Y, y);
    emit(EV_ABS, ABS_X, x);
    emit(EV_ABS, ABS_Y, y);
    emit(EV_SYN, SYN_REPORT, 0);
}

void UinputTouchpad::lift(int slot)
{
    emit(EV_ABS, ABS_MT_SLOT, slot);
    emit(EV_ABS, ABS_MT_TRACKING_ID, -1);
    fingers(-1);
    emit(EV_SYN, SYN_REPORT, 0);
}

void UinputTouchpad::press(bool down)
{
    emit(EV_KEY, BTN_LEFT, down ? 1 : 0);
    emit(EV_SYN, SYN_REPORT, 0);
}

// BTN_TOUCH and the tool buttons say how many fingers are down, as a real pad's driver does.
void UinputTouchpad::fingers(int change)
{
    const int before = fingers_;
    fingers_ += change;
    const auto tool = [](int count) {
        return count == 1 ? BTN_TOOL_FINGER : count == 2 ? BTN_TOOL_DOUBLETAP : BTN_TOOL_TRIPLETAP;
    };
    if (before > 0) {
        emit(EV_KEY, static_cast<std::uint16_t>(tool(before)), 0);
    }
    if (fingers_ > 0) {
        emit(EV_KEY, static_cast<std::uint16_t>(tool(fingers_)), 1);
    }
    emit(EV_KEY, BTN_TOUCH, fingers_ > 0 ? 1 : 0);
}

}  // namespace veltrane::kernel
