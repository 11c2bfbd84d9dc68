#pragma once

#include "platform/linux/devices/DeviceCapabilities.h"

#include <cstdint>
#include <string_view>

namespace veltrane::linuxbackend {

// Decides what the program does with an input device, from what the device reports, and says why
// in a few words for the device list. Only keyboards and mice are ever grabbed: a grabbed device
// reaches the desktop through our virtual devices alone, which must never be the case for
// touchpads, tablets or game controllers.
class DeviceClassifier {
public:
    enum class Kind : std::uint8_t { ignored, touchpad, keyboard, mouse, keyboardAndMouse };

    struct Verdict {
        Kind kind = Kind::ignored;
        std::string_view reason;

        bool typesKeys() const { return kind == Kind::keyboard || kind == Kind::keyboardAndMouse; }
        bool points() const { return kind == Kind::mouse || kind == Kind::keyboardAndMouse; }
    };

    static Verdict classify(const DeviceCapabilities& device);

    // Names the device by where it is plugged in, so the same device in the same port keeps its
    // number across runs and replugs. The device's own identifier joins in because every
    // Bluetooth device of a machine shares the adapter's path, and the name because one USB
    // interface can make several input devices (keys, media keys, system keys) on one path.
    static std::uint32_t locationId(const DeviceCapabilities& device);
};

}  // namespace veltrane::linuxbackend
