#include "platform/linux/devices/DeviceClassifier.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace veltrane::linuxbackend {
namespace {

using Kind = DeviceClassifier::Kind;

template <std::size_t Count> void enable(std::bitset<Count>& codes, std::initializer_list<std::size_t> list)
{
    for (const std::size_t code : list) {
        codes.set(code);
    }
}

// What a full-size keyboard reports: Escape through the keypad, and its LEDs.
DeviceCapabilities keyboard()
{
    DeviceCapabilities device;
    device.name = "Keyboard";
    device.bus = BUS_USB;
    for (std::size_t code = KEY_ESC; code <= KEY_KPDOT; ++code) {
        device.keys.set(code);
    }
    enable(device.leds, {LED_NUML, LED_CAPSL, LED_SCROLLL});
    return device;
}

DeviceCapabilities mouse()
{
    DeviceCapabilities device;
    device.name = "Mouse";
    enable(device.keys, {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE});
    enable(device.relativeAxes, {REL_X, REL_Y, REL_WHEEL});
    return device;
}

DeviceCapabilities touchpad()
{
    DeviceCapabilities device;
    device.name = "Touchpad";
    enable(device.keys, {BTN_LEFT, BTN_TOOL_FINGER, BTN_TOOL_DOUBLETAP, BTN_TOUCH});
    enable(device.absoluteAxes, {ABS_X, ABS_Y, ABS_MT_SLOT, ABS_MT_POSITION_X, ABS_MT_POSITION_Y});
    enable(device.properties, {INPUT_PROP_POINTER, INPUT_PROP_BUTTONPAD});
    return device;
}

DeviceCapabilities withKeys(std::initializer_list<std::size_t> codes)
{
    DeviceCapabilities device;
    enable(device.keys, codes);
    return device;
}

// Each with a label for the failure message, and the kind it must be taken for.
std::vector<std::tuple<std::string, DeviceCapabilities, Kind>> cases()
{
    DeviceCapabilities nearlyOurs = keyboard();
    nearlyOurs.name = "Veltranek";
    DeviceCapabilities combo = keyboard();
    combo.relativeAxes = mouse().relativeAxes;
    combo.keys |= mouse().keys;
    DeviceCapabilities claimsEveryCode;
    claimsEveryCode.keys.set();
    DeviceCapabilities pen = touchpad();
    enable(pen.keys, {BTN_TOOL_PEN, BTN_STYLUS});
    DeviceCapabilities gamepad = withKeys({BTN_SOUTH, BTN_EAST, BTN_START});
    enable(gamepad.absoluteAxes, {ABS_X, ABS_Y, ABS_HAT0X});
    DeviceCapabilities joystick = withKeys({BTN_TRIGGER, BTN_THUMB});
    enable(joystick.absoluteAxes, {ABS_X, ABS_Y, ABS_THROTTLE});
    DeviceCapabilities mainBlockOnly;
    for (std::size_t code = KEY_ESC; code <= KEY_SPACE; code += 2) {
        mainBlockOnly.keys.set(code);
    }
    DeviceCapabilities lidSwitch;
    lidSwitch.name = "Lid Switch";
    DeviceCapabilities buttonlessPointer;
    enable(buttonlessPointer.relativeAxes, {REL_X, REL_Y});
    return {
        {"a name that only starts like ours", nearlyOurs, Kind::keyboard},
        {"letters only", withKeys({KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                                   KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                                   KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z}),
         Kind::keyboard},
        {"most of the main block", mainBlockOnly, Kind::keyboard},
        {"every key code, no axes", claimsEveryCode, Kind::keyboard},
        {"keyboard with a pointer", combo, Kind::keyboardAndMouse},
        {"touchpad", touchpad(), Kind::touchpad},
        {"tablet with pen and finger", pen, Kind::ignored},
        {"gamepad", gamepad, Kind::ignored},
        {"joystick", joystick, Kind::ignored},
        {"power button", withKeys({KEY_POWER}), Kind::ignored},
        {"lid switch", lidSwitch, Kind::ignored},
        {"media keys", withKeys({KEY_MUTE, KEY_VOLUMEDOWN, KEY_VOLUMEUP, KEY_PLAYPAUSE, KEY_NEXTSONG}),
         Kind::ignored},
        {"pointer without buttons", buttonlessPointer, Kind::ignored},
    };
}

// A plain keyboard, a mouse and the program's own virtual devices are the kernel tests' devices.
TEST(DeviceClassifier, TellsWhatEachKindOfDeviceIsAndWhy)
{
    for (const auto& [label, device, kind] : cases()) {
        SCOPED_TRACE(label);
        const auto verdict = DeviceClassifier::classify(device);
        EXPECT_EQ(verdict.kind, kind);
        EXPECT_FALSE(verdict.reason.empty());
    }
}

// The number is saved with the user's settings: it must not change from one build to the next.
TEST(DeviceClassifierLocation, StaysTheSameForAPortAndTellsApartPortsBluetoothDevicesInterfacesAndModels)
{
    DeviceCapabilities usb = keyboard();
    usb.phys = "usb-0000:00:14.0-2/input0";
    EXPECT_EQ(DeviceClassifier::locationId(usb), 0x241fa580u);
    DeviceCapabilities replugged = usb;
    replugged.version = 0x111;
    replugged.keys.reset();
    EXPECT_EQ(DeviceClassifier::locationId(replugged), DeviceClassifier::locationId(usb));

    DeviceCapabilities otherPort = usb;
    otherPort.phys = "usb-0000:00:14.0-3/input0";
    // Bluetooth devices all carry the adapter's address as their path.
    DeviceCapabilities otherBluetoothDevice = usb;
    otherBluetoothDevice.uniq = "aa:bb:cc:dd:ee:ff";
    DeviceCapabilities mediaKeys = usb;
    mediaKeys.name = "Keyboard Consumer Control";
    DeviceCapabilities noPath = keyboard();
    noPath.product = 0xc52b;
    DeviceCapabilities otherProduct = noPath;
    otherProduct.product = 0xc52c;
    DeviceCapabilities otherBus = noPath;
    otherBus.bus = BUS_BLUETOOTH;
    std::set<std::uint32_t> ids;
    for (const auto& device :
         {usb, otherPort, otherBluetoothDevice, mediaKeys, noPath, otherProduct, otherBus}) {
        ids.insert(DeviceClassifier::locationId(device));
    }
    EXPECT_EQ(ids.size(), 7u);
}

}  // namespace
}  // namespace veltrane::linuxbackend
