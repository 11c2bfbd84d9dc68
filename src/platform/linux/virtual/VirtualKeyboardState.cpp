#include "platform/linux/virtual/VirtualKeyboardState.h"

#include <array>

namespace veltrane::linuxbackend {

namespace {

using platform::EventFlags;

struct Modifier {
    EventFlags flag = 0;
    std::uint16_t left = 0;
    std::uint16_t right = 0;
};

// In the order missing modifiers are pressed.
constexpr std::array<Modifier, 4> kModifiers = {{
    {platform::kFlagControl, KEY_LEFTCTRL, KEY_RIGHTCTRL},
    {platform::kFlagOption, KEY_LEFTALT, KEY_RIGHTALT},
    {platform::kFlagCommand, KEY_LEFTMETA, KEY_RIGHTMETA},
    {platform::kFlagShift, KEY_LEFTSHIFT, KEY_RIGHTSHIFT},
}};

constexpr EventFlags kModifierFlags =
    platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand | platform::kFlagShift;

bool holds(EventFlags flags, const Modifier& modifier)
{
    return (flags & modifier.flag) != 0;
}

}  // namespace

void VirtualKeyboardState::key(std::uint16_t linuxCode, bool down, EventFlags flags, OutputBatch& batch)
{
    releaseModifiersOutside(flags, batch);
    if (!down) {
        // A release needs no modifiers. Pressing them for it would let them go up later with no
        // key pressed in between: the lone tap that opens the launcher.
        release(linuxCode, batch);
        return;
    }
    if (isDown(linuxCode)) {
        return;
    }
    pressMissingModifiers(flags, batch);
    press(linuxCode, batch);
}

void VirtualKeyboardState::modifierKey(std::uint16_t linuxCode, bool down, EventFlags flags,
                                       EventFlags physicalFlags, OutputBatch& batch)
{
    // A modifier the engine added waits for the next key; the user's own passes at once, so its
    // lone taps reach the desktop as the user meant them.
    if ((flags & kModifierFlags) == (physicalFlags & kModifierFlags)) {
        if (down) {
            press(linuxCode, batch);
        } else {
            release(linuxCode, batch);
        }
    }
    // Everything the event's flags no longer hold goes up now, even while other keys are down.
    releaseModifiersOutside(flags, batch);
}

void VirtualKeyboardState::modifiers(EventFlags flags, bool pressing, OutputBatch& batch)
{
    releaseModifiersOutside(flags, batch);
    if (pressing) {
        pressMissingModifiers(flags, batch);
    }
}

void VirtualKeyboardState::tap(std::uint16_t linuxCode, OutputBatch& batch)
{
    // A key already down would not tap by going down again.
    release(linuxCode, batch);
    press(linuxCode, batch);
    release(linuxCode, batch);
}

bool VirtualKeyboardState::releaseAll(OutputBatch& batch)
{
    for (std::size_t code = 0; code < down_.size(); ++code) {
        if (!down_[code]) {
            continue;
        }
        if (batch.room() < 2) {
            return false;
        }
        release(static_cast<std::uint16_t>(code), batch);
    }
    return true;
}

bool VirtualKeyboardState::isDown(std::uint16_t linuxCode) const
{
    return linuxCode < down_.size() && down_[linuxCode];
}

void VirtualKeyboardState::press(std::uint16_t linuxCode, OutputBatch& batch)
{
    if (linuxCode >= down_.size() || down_[linuxCode]) {
        return;
    }
    down_[linuxCode] = true;
    batch.key(linuxCode, true);
}

void VirtualKeyboardState::release(std::uint16_t linuxCode, OutputBatch& batch)
{
    if (!isDown(linuxCode)) {
        return;
    }
    down_[linuxCode] = false;
    batch.key(linuxCode, false);
}

void VirtualKeyboardState::releaseModifiersOutside(EventFlags flags, OutputBatch& batch)
{
    for (const Modifier& modifier : kModifiers) {
        if (!holds(flags, modifier)) {
            release(modifier.left, batch);
            release(modifier.right, batch);
        }
    }
}

void VirtualKeyboardState::pressMissingModifiers(EventFlags flags, OutputBatch& batch)
{
    for (const Modifier& modifier : kModifiers) {
        if (holds(flags, modifier) && !isDown(modifier.left) && !isDown(modifier.right)) {
            press(modifier.left, batch);
        }
    }
}

}  // namespace veltrane::linuxbackend
