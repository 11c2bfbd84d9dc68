#pragma once

#include "platform/HidDevice.h"
#include "platform/Multitouch.h"
#include "platform/linux/devices/DeviceCapabilities.h"
#include "platform/linux/hid/HidIdentity.h"
#include "platform/linux/touch/ContactFrames.h"
#include "platform/linux/touch/TouchpadSurface.h"

#include <linux/input.h>

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

struct libevdev;

namespace veltrane::linuxbackend {

// A touchpad as the ports see it: a pointing device of the HID stack, which the trackpad
// registration follows as it comes and goes, and a device of the multitouch framework, whose
// contact frames the slide reads. It is read alongside the desktop, never grabbed, so that the
// desktop keeps its pointer, its gestures and its palm rejection.
class LinuxTouchpad final : public platform::HidDevice, public platform::MTDevice {
public:
    struct Identity {
        HidIdentity device;
        bool builtIn = false;
        bool force = false;
    };

    LinuxTouchpad(Identity identity, const TouchpadSurface& surface);

    // Who a touchpad is, from what evdev says of it: a laptop's own pad sits on a bus inside the
    // machine, and a pad that measures pressure counts as one with force.
    static Identity identify(const DeviceCapabilities& device);

    const Identity& identity() const { return identity_; }
    std::uint64_t deviceId() const;
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // The fingers on the pad when it was opened, as libevdev read them.
    void seed(const libevdev* device);

    bool conformsTo(std::uint32_t usagePage, std::uint32_t usage) const override;
    platform::HidProperty property(std::string_view key) const override;
    platform::HidProperty searchServiceProperty(std::string_view key) const override;

    void setCallback(platform::MTContactFrameCallback callback, void* refcon);
    // False when the touchpad is gone.
    bool start();
    // No frame is delivered after this returns.
    void disconnect();
    // On the thread that reads the pad: one event as read. True when it ends a report, which
    // then waits for deliverReport(), so that its frame takes its turn among the keys typed.
    bool take(const input_event& event);
    // The oldest report taken goes through the decoder, and its frame, if any, to the callback;
    // returns the report, valid until the next take().
    std::span<const input_event> deliverReport();
    // Whether a finger was on the pad at the end of the last report delivered.
    bool touching() const { return touching_; }

private:
    void deliver(std::span<const platform::MTTouch> contacts, double timestamp);

    const Identity identity_;
    const std::int32_t width_;
    const std::int32_t height_;
    ContactFrames frames_;
    std::mutex mutex_;
    platform::MTContactFrameCallback callback_ = nullptr;
    void* refcon_ = nullptr;
    bool started_ = false;
    bool connected_ = true;
    // The events taken and not yet delivered, from the first not delivered on.
    std::vector<input_event> taken_;
    std::size_t delivered_ = 0;
    bool touching_ = false;
};

}  // namespace veltrane::linuxbackend
