#pragma once

#include "platform/Event.h"
#include "platform/HidUsage.h"
#include "platform/linux/devices/KeyDecoder.h"
#include "platform/linux/devices/PointerFrame.h"
#include "platform/linux/hid/LinuxHidStack.h"
#include "platform/linux/hid/LinuxKeyboard.h"
#include "platform/linux/road/LinuxEventTapService.h"
#include "platform/linux/road/ModifierState.h"
#include "platform/linux/virtual/OutputBatch.h"
#include "platform/linux/virtual/VirtualKeyboardState.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace veltrane::linuxbackend {

// The road of every key, on the main queue beside the event taps, with no I/O of its own: the raw
// key reaches the HID managers (the hyper key listener) and returns once they have seen it; the
// keyboard's mapping applies; the key becomes an event with the flags of the modifiers held on all
// keyboards; the event passes the taps; and what the taps left is written out as keys held on the
// virtual keyboard. Posted events join the same road at the taps. A pointing device's report
// becomes the events of its clicks, motion and scrolling, which pass the taps when a tap wants
// them; the modifier keys follow their flags and the report goes out whole to the virtual pointer.
class KeyPipeline {
public:
    // Receives the events for a virtual device, a batch per key, posted event or report.
    using Writer = std::function<void(std::span<const input_event> events)>;

    KeyPipeline(LinuxHidStack& hid, LinuxEventTapService& taps, ModifierState& modifiers,
                Writer keyboardWriter, Writer pointerWriter = {});

    void key(const std::shared_ptr<LinuxKeyboard>& keyboard, const KeyDecoder::Change& change);
    void post(platform::Event event);
    // A whole report of a pointing device, SYN_REPORT included.
    void pointer(std::span<const input_event> report);
    // A whole report of a touchpad, which the desktop reads itself: nothing goes to the virtual
    // pointer, but its clicks and scrolls must find the modifiers down. touching: a finger is on it.
    void touchpad(std::span<const input_event> report, bool touching);
    // The application changed the caps lock lock: the desktop's lock follows through a tap.
    void capsLockChanged();
    // The keyboard is gone: the keys it held go up the whole road, as the usages they went down
    // as, so that neither the listener nor the virtual keyboard keeps them.
    void keyboardGone(const std::shared_ptr<LinuxKeyboard>& keyboard);
    // Every button held on the virtual pointer and every key held on the virtual keyboard goes up,
    // without passing the taps: from any thread, while the pipeline runs nowhere else.
    void releaseAll();

private:
    // unknownCode: the kernel's code for a key the table does not know, or 0.
    void mappedKey(platform::HidUsage key, bool down, std::uint16_t unknownCode);
    // The report's events in order, each passed through the taps when they want its type; the
    // flags the last one left with, or nothing when no tap saw any.
    std::optional<platform::EventFlags> passPointerEvents(std::span<const input_event> report,
                                                          bool& pressing);
    platform::EventType motionType() const;
    // Passes the taps an event of the first pointer group they want, standing for what a finger
    // on a touchpad may do next; the flags it left with, or nothing when no group is wanted.
    std::optional<platform::EventFlags> passTouchProbe();
    // An event of that type with the modifiers' flags passes the taps if they want it; the flags it
    // left with, or nothing.
    std::optional<platform::EventFlags> passIfWanted(platform::EventMask wanted, platform::EventType type);
    void flush();

    LinuxHidStack& hid_;
    LinuxEventTapService& taps_;
    ModifierState& modifiers_;
    const Writer writer_;
    const Writer pointerWriter_;
    VirtualKeyboardState virtualKeyboard_;
    // The buttons down on the virtual pointer, from BTN_MOUSE on: a motion with one is a drag.
    PointerFrame::Buttons buttons_;
    OutputBatch out_;
};

}  // namespace veltrane::linuxbackend
