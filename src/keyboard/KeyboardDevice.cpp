#include "keyboard/KeyboardDevice.h"

#include "platform/HidProperties.h"


namespace veltrane {

std::optional<KeyboardDevice> KeyboardDevice::of(const platform::HidDevice& device)
{
    const auto vendor = platform::integerProperty(device, platform::kHidVendorId);
    const auto product = platform::integerProperty(device, platform::kHidProductId);
    const auto location = platform::unsignedProperty(device, platform::kHidLocationId);
    if (!vendor || !product || !location) {
        return std::nullopt;
    }
    return KeyboardDevice{*vendor, *product, *location};
}

std::string KeyboardDevice::description() const
{
    return "KeyboardDevice(vendor: " + std::to_string(vendor) + ", product: " + std::to_string(product) +
           ", locationId: " + std::to_string(locationId) + ")";
}

}  // namespace veltrane
