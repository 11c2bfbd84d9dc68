#pragma once

#include "platform/HidDevice.h"
#include "platform/linux/devices/DeviceCapabilities.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrane::linuxbackend {

// Who an input device is, as the HID ports ask it: its name, its maker and model, and where it is
// plugged in.
struct HidIdentity {
    std::string name;
    std::int64_t vendor = 0;
    std::int64_t product = 0;
    std::int64_t location = 0;

    static HidIdentity of(const DeviceCapabilities& device);
    // The property of that key, or nothing for a key of another kind.
    platform::HidProperty property(std::string_view key) const;
};

}  // namespace veltrane::linuxbackend
