#include "platform/linux/devices/DeviceCapabilities.h"

#include <libevdev/libevdev.h>

namespace veltrane::linuxbackend {

namespace {

// libevdev gives a null pointer for a string the device does not report.
std::string text(const char* value)
{
    return value == nullptr ? std::string() : std::string(value);
}

std::uint16_t identifier(int value)
{
    return static_cast<std::uint16_t>(value);
}

template <std::size_t Count>
void readCodes(const libevdev* device, unsigned int type, std::bitset<Count>& codes)
{
    for (unsigned int code = 0; code < Count; ++code) {
        codes[code] = libevdev_has_event_code(device, type, code) != 0;
    }
}

}  // namespace

DeviceCapabilities DeviceCapabilities::read(const libevdev* device)
{
    DeviceCapabilities capabilities;
    capabilities.name = text(libevdev_get_name(device));
    capabilities.phys = text(libevdev_get_phys(device));
    capabilities.uniq = text(libevdev_get_uniq(device));
    capabilities.bus = identifier(libevdev_get_id_bustype(device));
    capabilities.vendor = identifier(libevdev_get_id_vendor(device));
    capabilities.product = identifier(libevdev_get_id_product(device));
    capabilities.version = identifier(libevdev_get_id_version(device));
    readCodes(device, EV_KEY, capabilities.keys);
    readCodes(device, EV_REL, capabilities.relativeAxes);
    readCodes(device, EV_ABS, capabilities.absoluteAxes);
    readCodes(device, EV_LED, capabilities.leds);
    for (unsigned int property = 0; property < INPUT_PROP_CNT; ++property) {
        capabilities.properties[property] = libevdev_has_property(device, property) != 0;
    }
    return capabilities;
}

}  // namespace veltrane::linuxbackend
