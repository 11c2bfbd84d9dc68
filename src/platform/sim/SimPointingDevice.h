#pragma once

#include "platform/sim/SimHidDevice.h"

namespace veltrane::sim {

// A mouse or trackpad as the HID stack sees it: a generic desktop pointer device.
class SimPointingDevice final : public SimHidDevice {
public:
    using SimHidDevice::SimHidDevice;

    bool conformsTo(std::uint32_t usagePage, std::uint32_t usage) const override;
};

}  // namespace veltrane::sim
