#pragma once

#include <linux/input.h>

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>

struct libevdev;

namespace veltrane::linuxbackend {

// An input device as evdev describes it: who it is and every code it can report. Read once when
// the device appears; the classifier decides from it what to do with the device. Tests describe
// devices by setting the fields directly.
struct DeviceCapabilities {
    std::string name;
    // Where the device is plugged in ("usb-0000:00:14.0-2/input0"); empty for many virtual devices.
    std::string phys;
    // The device's own identifier when it has one (serial number, Bluetooth address).
    std::string uniq;
    std::uint16_t bus = 0;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    std::uint16_t version = 0;
    std::bitset<KEY_CNT> keys;
    std::bitset<REL_CNT> relativeAxes;
    std::bitset<ABS_CNT> absoluteAxes;
    std::bitset<LED_CNT> leds;
    std::bitset<INPUT_PROP_CNT> properties;

    bool hasKey(std::size_t code) const { return code < KEY_CNT && keys[code]; }
    bool hasRelative(std::size_t code) const { return code < REL_CNT && relativeAxes[code]; }
    bool hasAbsolute(std::size_t code) const { return code < ABS_CNT && absoluteAxes[code]; }
    bool hasProperty(std::size_t property) const { return property < INPUT_PROP_CNT && properties[property]; }

    // What an opened device reports about itself.
    static DeviceCapabilities read(const libevdev* device);
};

}  // namespace veltrane::linuxbackend
