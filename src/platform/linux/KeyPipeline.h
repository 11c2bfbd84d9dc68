#pragma once

#include "platform/Event.h"
#include "platform/HidUsage.h"
#include "platform/Queue.h"
#include "platform/linux/LinuxEventTapService.h"
#include "platform/linux/LinuxHidStack.h"
#include "platform/linux/LinuxKeyboard.h"
#include "platform/linux/ModifierState.h"
#include "platform/linux/input/KeyDecoder.h"
#include "platform/linux/input/OutputBatch.h"
#include "platform/linux/input/VirtualKeyboardState.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace veltrane::linuxbackend {

// The road of every key, on the input thread, with no I/O of its own: the raw key reaches the HID
// managers (the hyper key listener) and returns once they have seen it; the keyboard's mapping
// applies; the key becomes an event with the flags of the modifiers held on all keyboards; the
// event passes the taps on the main queue; and what the taps left is written out as keys held on
// the virtual keyboard. Posted events join the same road at the taps.
class KeyPipeline {
public:
    // Receives the events for the virtual keyboard, a batch per key or posted event.
    using Writer = std::function<void(std::span<const input_event> events)>;

    KeyPipeline(LinuxHidStack& hid, LinuxEventTapService& taps, ModifierState& modifiers,
                platform::Queue& mainQueue, Writer writer);

    void key(const std::shared_ptr<LinuxKeyboard>& keyboard, const KeyDecoder::Change& change);
    void post(platform::Event event);
    // The application changed the caps lock lock: the desktop's lock follows through a tap.
    void capsLockChanged();
    // The keyboard is gone with those keys down: they go up the whole road, as if released, so that
    // neither the listener nor the virtual keyboard keeps them.
    void keyboardGone(const std::shared_ptr<LinuxKeyboard>& keyboard,
                      std::span<const std::uint16_t> keysDown);
    // Every key held on the virtual keyboard goes up.
    void releaseAll();

private:
    // unknownCode: the kernel's code for a key the table does not know, or 0.
    void mappedKey(platform::HidUsage key, bool down, std::uint16_t unknownCode);
    void pass(platform::Event& event);
    void flush();

    LinuxHidStack& hid_;
    LinuxEventTapService& taps_;
    ModifierState& modifiers_;
    platform::Queue& mainQueue_;
    const Writer writer_;
    VirtualKeyboardState virtualKeyboard_;
    OutputBatch out_;
};

}  // namespace veltrane::linuxbackend
