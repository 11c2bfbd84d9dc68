#pragma once

#include "platform/linux/devices/KeyDecoder.h"
#include "platform/linux/devices/PointerFrame.h"
#include "platform/linux/hid/LinuxKeyboard.h"
#include "platform/linux/road/KeyRoad.h"
#include "platform/linux/touch/LinuxTouchpad.h"

#include <linux/input.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace veltrane::linuxbackend {

// Where the events of one device go on the key road, without its I/O: a touchpad's reports wait
// for their turn to be decoded; a pointing device's reports go whole; a keyboard's events become
// key changes of the usages they name. A keyboard that also points (a laptop's keyboard with its
// pointing stick) sends its buttons and motion as reports and the rest as keys.
class DeviceRoute {
public:
    // bus: the device's bus, which decides how its keys are named. keyboard and touchpad: nothing
    // when it is not one.
    DeviceRoute(std::uint16_t bus, std::shared_ptr<LinuxKeyboard> keyboard,
                std::shared_ptr<LinuxTouchpad> touchpad, bool points);

    struct Routed {
        // What the event completes for the road, if anything.
        std::optional<KeyRoad::Work> work;
        // The kernel lost events of the keyboard before this one; the keys' state comes again.
        bool dropped = false;
    };
    // One event as read, in order.
    Routed take(const input_event& event);
    // The report that lets go of the buttons the device's reports left down, or nothing; they are
    // then forgotten. Only the reports taken count: a button in a report the device never finished
    // never went down on the virtual pointer, and must not go up there.
    std::vector<input_event> releaseButtons();
    // The device went away: the buttons its reports left down go up, then the keys of the keyboard.
    KeyRoad::Gone gone() { return {keyboard_, releaseButtons()}; }

    const std::shared_ptr<LinuxKeyboard>& keyboard() const { return keyboard_; }
    const std::shared_ptr<LinuxTouchpad>& touchpad() const { return touchpad_; }
    bool points() const { return points_; }

private:
    KeyDecoder decoder_;
    std::shared_ptr<LinuxKeyboard> keyboard_;
    std::shared_ptr<LinuxTouchpad> touchpad_;
    bool points_;
    PointerFrame report_;
    PointerFrame::Buttons buttons_;
};

}  // namespace veltrane::linuxbackend
