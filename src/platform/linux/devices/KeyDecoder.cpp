#include "platform/linux/devices/KeyDecoder.h"

#include "platform/KeyTable.h"

namespace veltrane::linuxbackend {

namespace {

using Kind = KeyDecoder::Change::Kind;

// USB, Bluetooth and I2C keyboards go through the kernel's HID layer, which announces each key's HID
// usage before the key: it names the key even when the kernel's keymap has been changed. Other
// keyboards (the i8042 controller of laptops and PCs) announce scan codes of their own.
bool reportsUsages(std::uint16_t bus)
{
    return bus == BUS_USB || bus == BUS_BLUETOOTH || bus == BUS_I2C;
}

Kind kindOf(std::int32_t value)
{
    switch (value) {
    case 0:
        return Kind::up;
    case 1:
        return Kind::down;
    case 2:
        return Kind::repeat;
    default:
        return Kind::none;
    }
}

}  // namespace

KeyDecoder::KeyDecoder(std::uint16_t bus) : scansAreUsages_(reportsUsages(bus)) {}

KeyDecoder::Change KeyDecoder::feed(const input_event& event)
{
    if (event.type == EV_KEY) {
        return decodeKey(event);
    }
    if (event.type == EV_MSC && event.code == MSC_SCAN && scansAreUsages_) {
        pendingScan_ = static_cast<std::uint32_t>(event.value);
        return {};
    }
    if (event.type == EV_SYN && (event.code == SYN_REPORT || event.code == SYN_DROPPED)) {
        pendingScan_ = 0;
        return {event.code == SYN_DROPPED ? Kind::dropped : Kind::none};
    }
    return {};
}

KeyDecoder::Change KeyDecoder::decodeKey(const input_event& event)
{
    const Kind kind = kindOf(event.value);
    if (kind == Kind::none) {
        return {};
    }
    Change change{kind, event.code};
    if (pendingScan_ != 0) {
        change.usagePage = pendingScan_ >> 16;
        change.usage = pendingScan_ & 0xFFFF;
        pendingScan_ = 0;
    } else if (const auto* key = platform::KeyTable::byLinuxCode(event.code)) {
        change.usagePage = key->usagePage;
        change.usage = key->usage;
    }
    return change;
}

}  // namespace veltrane::linuxbackend
