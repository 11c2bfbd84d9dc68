#pragma once

#include "platform/Event.h"
#include "platform/linux/virtual/OutputBatch.h"

#include <linux/input.h>

#include <bitset>
#include <cstddef>
#include <cstdint>

namespace veltrane::linuxbackend {

// The keys down on our virtual keyboard, and the events that bring it to what the engine's events
// say. The engine's events carry modifier flags; on Linux modifiers are keys, tracked by the
// display server from the keys it sees. So the flags an event leaves the engine with decide which
// modifier keys are down when the event goes out: Control, Alt, Meta and Shift stand for the
// Control, Option, Command and Shift flags, and either side's key holds its flag.
//
// Desktops act on a lone tap of Meta (the launcher) and of Alt (menus), so a modifier the engine
// adds is pressed only right before a key that uses it, never on its own.
class VirtualKeyboardState {
public:
    // The most events one key, modifierKey or tap appends: at most the eight modifier keys change
    // and then the key itself, each followed by SYN_REPORT.
    static constexpr std::size_t kMostEventsPerChange = 18;
    static_assert(kMostEventsPerChange <= OutputBatch::kCapacity);

    // A key that is not a modifier goes down or up, with the modifier flags of its event.
    void key(std::uint16_t linuxCode, bool down, platform::EventFlags flags, OutputBatch& batch);
    // One of the eight modifier keys goes down or up. physicalFlags are the flags of the modifier
    // keys the user holds on all keyboards, after mapping: when they equal the event's flags, the
    // engine added nothing and the key passes as itself.
    void modifierKey(std::uint16_t linuxCode, bool down, platform::EventFlags flags,
                     platform::EventFlags physicalFlags, OutputBatch& batch);
    void tap(std::uint16_t linuxCode, OutputBatch& batch);
    // Another device's event with these flags goes out next (a click, a scroll): the modifier keys
    // are brought to them, but only an event that presses or moves something presses them, as
    // for keys.
    void modifiers(platform::EventFlags flags, bool pressing, OutputBatch& batch);
    // Every key down goes up. A batch too small for all of them ends full and the result is false:
    // write it and call again.
    bool releaseAll(OutputBatch& batch);

    bool isDown(std::uint16_t linuxCode) const;

private:
    void press(std::uint16_t linuxCode, OutputBatch& batch);
    void release(std::uint16_t linuxCode, OutputBatch& batch);
    void releaseModifiersOutside(platform::EventFlags flags, OutputBatch& batch);
    void pressMissingModifiers(platform::EventFlags flags, OutputBatch& batch);

    std::bitset<KEY_CNT> down_;
};

}  // namespace veltrane::linuxbackend
