#pragma once

#include "platform/HidDevice.h"

#include <cstdint>
#include <memory>

namespace veltrane::platform {

enum class HidElementType : std::uint32_t {
    misc = 1,
    button = 2,
    axis = 3,
    scanCodes = 4,
};

// One input value of a HID element: a key going down (integer value 1) or up (0) for keys.
struct HidValue {
    std::uint32_t usagePage = 0;
    std::uint32_t usage = 0;
    HidElementType elementType = HidElementType::button;
    std::int64_t integerValue = 0;
    std::shared_ptr<const HidDevice> device;
};

}  // namespace veltrane::platform
