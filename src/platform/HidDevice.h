#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace veltrane::platform {

// A device property as the HID stack hands it out: absent, a signed or an unsigned integer, a
// text or a boolean. Readers must check the kind; any of them can be absent on a real device.
using HidProperty = std::variant<std::monostate, std::int64_t, std::uint64_t, std::string, bool>;

inline constexpr std::string_view kHidVendorId = "VendorID";
inline constexpr std::string_view kHidProductId = "ProductID";
inline constexpr std::string_view kHidLocationId = "LocationID";
inline constexpr std::string_view kHidProduct = "Product";
// True for a device built into the machine, as a laptop's own touchpad is.
inline constexpr std::string_view kHidBuiltIn = "Built-In";
// A pointing device of the generic desktop page: a mouse, and any trackpad.
inline constexpr std::uint32_t kHidGenericDesktopPage = 0x01;
inline constexpr std::uint32_t kHidMouseUsage = 0x02;
// A touch pad of the digitizer page: any maker's trackpad, as the HID stack describes it.
inline constexpr std::uint32_t kHidDigitizerPage = 0x0D;
inline constexpr std::uint32_t kHidTouchPadUsage = 0x05;

class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Whether the device reports itself as that usage (a keyboard: page 1, usage 6), as a HID
    // manager's matching criteria ask.
    virtual bool conformsTo(std::uint32_t usagePage, std::uint32_t usage) const = 0;
    virtual HidProperty property(std::string_view key) const = 0;
    // A property of the device's service or of any service below it in the registry, searched
    // recursively; absent when none has it.
    virtual HidProperty searchServiceProperty(std::string_view key) const = 0;
};

}  // namespace veltrane::platform
