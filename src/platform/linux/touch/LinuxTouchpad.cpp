#include "platform/linux/touch/LinuxTouchpad.h"

#include <libevdev/libevdev.h>

#include <algorithm>
#include <array>

namespace veltrane::linuxbackend {

namespace {

// Not in every kernel's headers yet: a pad that reports the force of a press.
constexpr std::size_t kPressurePadProperty = 0x07;

// The buses of devices inside the machine: PS/2, I2C, SMBus (through RMI), SPI and the platform's
// own; USB and Bluetooth pads are plugged in.
constexpr std::array<std::uint16_t, 5> kBuiltInBuses = {BUS_I8042, BUS_I2C, BUS_RMI, BUS_SPI, BUS_HOST};

}  // namespace

LinuxTouchpad::LinuxTouchpad(Identity identity, const TouchpadSurface& surface)
    : identity_(std::move(identity)), width_(surface.width()), height_(surface.height()),
      frames_(surface, [this](std::span<const platform::MTTouch> contacts, double timestamp) {
          deliver(contacts, timestamp);
      })
{
    // A report of ten fingers, with room to spare.
    taken_.reserve(128);
}

LinuxTouchpad::Identity LinuxTouchpad::identify(const DeviceCapabilities& device)
{
    return {.device = HidIdentity::of(device),
            .builtIn =
                std::find(kBuiltInBuses.begin(), kBuiltInBuses.end(), device.bus) != kBuiltInBuses.end(),
            .force = device.hasProperty(kPressurePadProperty) || device.hasAbsolute(ABS_MT_PRESSURE)};
}

std::uint64_t LinuxTouchpad::deviceId() const
{
    return platform::Multitouch::deviceIdForLocation(static_cast<std::uint64_t>(identity_.device.location),
                                                     identity_.builtIn);
}

bool LinuxTouchpad::conformsTo(std::uint32_t usagePage, std::uint32_t usage) const
{
    return (usagePage == platform::kHidGenericDesktopPage && usage == platform::kHidMouseUsage) ||
           (usagePage == platform::kHidDigitizerPage && usage == platform::kHidTouchPadUsage);
}

platform::HidProperty LinuxTouchpad::property(std::string_view key) const
{
    if (key == platform::kHidBuiltIn) {
        return identity_.builtIn;
    }
    return identity_.device.property(key);
}

platform::HidProperty LinuxTouchpad::searchServiceProperty(std::string_view key) const
{
    if (key == "ForceSupported") {
        return identity_.force;
    }
    return property(key);
}

void LinuxTouchpad::seed(const libevdev* device)
{
    frames_.seed(device);
    touching_ = libevdev_get_event_value(device, EV_KEY, BTN_TOUCH) != 0;
}

bool LinuxTouchpad::take(const input_event& event)
{
    // Emptied without giving back its memory: the next reports reuse it.
    if (delivered_ == taken_.size()) {
        taken_.clear();
        delivered_ = 0;
    }
    taken_.push_back(event);
    return event.type == EV_SYN && event.code == SYN_REPORT;
}

std::span<const input_event> LinuxTouchpad::deliverReport()
{
    const std::size_t first = delivered_;
    while (delivered_ < taken_.size()) {
        const input_event& event = taken_[delivered_++];
        if (event.type == EV_KEY && event.code == BTN_TOUCH) {
            touching_ = event.value != 0;
        }
        frames_.feed(event);
        if (event.type == EV_SYN && event.code == SYN_REPORT) {
            break;
        }
    }
    return std::span(taken_).subspan(first, delivered_ - first);
}

void LinuxTouchpad::setCallback(platform::MTContactFrameCallback callback, void* refcon)
{
    const std::lock_guard lock(mutex_);
    callback_ = callback;
    refcon_ = refcon;
}

bool LinuxTouchpad::start()
{
    const std::lock_guard lock(mutex_);
    started_ = connected_;
    return started_;
}

void LinuxTouchpad::disconnect()
{
    const std::lock_guard lock(mutex_);
    connected_ = false;
    started_ = false;
}

void LinuxTouchpad::deliver(std::span<const platform::MTTouch> contacts, double timestamp)
{
    platform::MTContactFrameCallback callback = nullptr;
    void* refcon = nullptr;
    {
        const std::lock_guard lock(mutex_);
        if (!started_ || callback_ == nullptr) {
            return;
        }
        callback = callback_;
        refcon = refcon_;
    }
    // The decoder numbers the frames it makes, and makes none without a contact.
    callback(this, contacts.data(), static_cast<int>(contacts.size()), timestamp, contacts.front().frame,
             refcon);
}

}  // namespace veltrane::linuxbackend
