#include "platform/linux/hid/HidIdentity.h"

#include "platform/linux/devices/DeviceClassifier.h"

namespace veltrane::linuxbackend {

HidIdentity HidIdentity::of(const DeviceCapabilities& device)
{
    return {device.name, device.vendor, device.product, DeviceClassifier::locationId(device)};
}

platform::HidProperty HidIdentity::property(std::string_view key) const
{
    if (key == platform::kHidVendorId) {
        return vendor;
    }
    if (key == platform::kHidProductId) {
        return product;
    }
    if (key == platform::kHidLocationId) {
        return location;
    }
    if (key == platform::kHidProduct) {
        return name;
    }
    return {};
}

}  // namespace veltrane::linuxbackend
