#include "platform/linux/road/KeyPipeline.h"

#include "platform/KeyTable.h"
#include "platform/linux/devices/PointerFrame.h"

#include <utility>

namespace veltrane::linuxbackend {

namespace {

using platform::Event;
using platform::EventType;
using platform::KeyTable;

constexpr std::uint32_t kCapsLockUsage = 0x39;
constexpr platform::EventFlags kModifierKeyFlags =
    platform::kFlagShift | platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand;

EventType buttonType(unsigned code, bool down)
{
    if (code == BTN_LEFT) {
        return down ? EventType::leftMouseDown : EventType::leftMouseUp;
    }
    if (code == BTN_RIGHT) {
        return down ? EventType::rightMouseDown : EventType::rightMouseUp;
    }
    return down ? EventType::otherMouseDown : EventType::otherMouseUp;
}

bool isCapsLock(const KeyTable::Key& key)
{
    return key.usagePage == KeyTable::kKeyboardPage && key.usage == kCapsLockUsage;
}

}  // namespace

KeyPipeline::KeyPipeline(LinuxHidStack& hid, LinuxEventTapService& taps, ModifierState& modifiers,
                         Writer keyboardWriter, Writer pointerWriter)
    : hid_(hid), taps_(taps), modifiers_(modifiers), writer_(std::move(keyboardWriter)),
      pointerWriter_(std::move(pointerWriter))
{
}

void KeyPipeline::key(const std::shared_ptr<LinuxKeyboard>& keyboard, const KeyDecoder::Change& change)
{
    using Kind = KeyDecoder::Change::Kind;
    if (change.kind != Kind::down && change.kind != Kind::up) {
        return;
    }
    const bool down = change.kind == Kind::down;
    const auto usage = keyboard->noteKey({change.linuxCode, {change.usagePage, change.usage}}, down);
    if (!usage) {
        return;
    }
    if (usage->page == 0) {
        // A key no table knows goes out as it came, so that nothing is lost.
        virtualKeyboard_.key(change.linuxCode, down, modifiers_.heldFlags(), out_);
    } else {
        hid_.rawKey(keyboard, *usage, down);
        if (const auto mapped = down ? keyboard->press(*usage) : keyboard->release(*usage)) {
            mappedKey(*mapped, down, *mapped == *usage ? change.linuxCode : 0);
        }
    }
    flush();
}

void KeyPipeline::mappedKey(platform::HidUsage key, bool down, std::uint16_t unknownCode)
{
    const KeyTable::Key* known = KeyTable::byUsage(key.page, key.usage);
    if (known == nullptr) {
        // A key of a page the table leaves out (media keys) goes out as the kernel named it.
        if (unknownCode != 0) {
            virtualKeyboard_.key(unknownCode, down, modifiers_.heldFlags(), out_);
        }
        return;
    }
    if (!known->keyCode) {
        virtualKeyboard_.key(known->linuxCode, down, modifiers_.heldFlags(), out_);
        return;
    }
    Event event;
    event.keyCode = *known->keyCode;
    if (isCapsLock(*known)) {
        // Caps lock acts on its press only, which toggles the lock. No event tells the taps of its
        // release, so the modifiers added while it was down (as the hyper key) go up here; a key
        // that still wants them presses them again.
        if (!down) {
            virtualKeyboard_.modifiers(modifiers_.flags(), false, out_);
            return;
        }
        modifiers_.toggleCapsLock();
        event.type = EventType::flagsChanged;
    } else if (known->modifier != 0) {
        modifiers_.hold(known->modifier, down);
        event.type = EventType::flagsChanged;
    } else {
        event.type = down ? EventType::keyDown : EventType::keyUp;
    }
    event.flags = modifiers_.flags() | known->ownFlags;
    taps_.pass(event);
    if (isCapsLock(*known)) {
        virtualKeyboard_.tap(known->linuxCode, out_);
    } else if ((known->modifier & kModifierKeyFlags) != 0) {
        virtualKeyboard_.modifierKey(known->linuxCode, down, event.flags, modifiers_.heldFlags(), out_);
    } else {
        virtualKeyboard_.key(known->linuxCode, down, event.flags, out_);
    }
}

void KeyPipeline::post(Event event)
{
    taps_.pass(event);
    const KeyTable::Key* known = KeyTable::byKeyCode(event.keyCode);
    const bool down = event.type == EventType::keyDown;
    if (known == nullptr || (!down && event.type != EventType::keyUp)) {
        // Only key events are posted; anything else has no key to go out as.
    } else if ((known->modifier & kModifierKeyFlags) != 0) {
        // A posted modifier is the application's, never the user's: it waits for a key like any
        // modifier the engine adds, so it never reaches the desktop as a lone tap.
        virtualKeyboard_.modifiers(event.flags, false, out_);
    } else {
        virtualKeyboard_.key(known->linuxCode, down, event.flags, out_);
    }
    flush();
}

void KeyPipeline::pointer(std::span<const input_event> report)
{
    bool pressing = false;
    if (const auto flags = passPointerEvents(report, pressing)) {
        virtualKeyboard_.modifiers(*flags, pressing, out_);
        flush();
    }
    if (pointerWriter_) {
        pointerWriter_(report);
    }
}

void KeyPipeline::touchpad(std::span<const input_event> report, bool touching)
{
    bool pressing = false;
    auto flags = passPointerEvents(report, pressing);
    // The desktop gets the pad's click as soon as we do, and applies the modifiers already down:
    // so they go down while a finger rests on the pad, before any click it makes.
    if (touching) {
        if (const auto probed = passTouchProbe()) {
            flags = probed;
            pressing = true;
        }
    }
    if (flags) {
        virtualKeyboard_.modifiers(*flags, pressing, out_);
        flush();
    }
}

std::optional<platform::EventFlags> KeyPipeline::passTouchProbe()
{
    const platform::EventMask wanted = taps_.wantedMask();
    for (const auto type : {EventType::leftMouseDown, EventType::leftMouseDragged, EventType::scrollWheel,
                            EventType::mouseMoved}) {
        if (const auto flags = passIfWanted(wanted, type)) {
            return flags;
        }
    }
    return std::nullopt;
}

std::optional<platform::EventFlags> KeyPipeline::passIfWanted(platform::EventMask wanted, EventType type)
{
    if (!platform::maskHolds(wanted, type)) {
        return std::nullopt;
    }
    Event event;
    event.type = type;
    event.flags = modifiers_.flags();
    taps_.pass(event);
    return event.flags;
}

std::optional<platform::EventFlags> KeyPipeline::passPointerEvents(std::span<const input_event> report,
                                                                   bool& pressing)
{
    const platform::EventMask wanted = taps_.wantedMask();
    std::optional<platform::EventFlags> flags;
    const auto pass = [&](EventType type) {
        if (const auto passed = passIfWanted(wanted, type)) {
            flags = passed;
        }
    };
    bool moved = false;
    bool scrolled = false;
    for (const auto& event : report) {
        if (PointerFrame::follow(buttons_, event)) {
            const bool down = event.value != 0;
            pressing = pressing || down;
            pass(buttonType(event.code, down));
        } else if (event.type == EV_REL) {
            moved = moved || event.code == REL_X || event.code == REL_Y;
            scrolled = scrolled || event.code == REL_WHEEL || event.code == REL_HWHEEL ||
                       event.code == REL_WHEEL_HI_RES || event.code == REL_HWHEEL_HI_RES;
        }
    }
    if (moved) {
        pressing = true;
        pass(motionType());
    }
    if (scrolled) {
        pressing = true;
        pass(EventType::scrollWheel);
    }
    return flags;
}

EventType KeyPipeline::motionType() const
{
    if (buttons_[BTN_LEFT - BTN_MOUSE]) {
        return EventType::leftMouseDragged;
    }
    if (buttons_[BTN_RIGHT - BTN_MOUSE]) {
        return EventType::rightMouseDragged;
    }
    return buttons_.any() ? EventType::otherMouseDragged : EventType::mouseMoved;
}

void KeyPipeline::capsLockChanged()
{
    const KeyTable::Key* capsLock = KeyTable::byUsage(KeyTable::kKeyboardPage, kCapsLockUsage);
    virtualKeyboard_.tap(capsLock->linuxCode, out_);
    flush();
}

void KeyPipeline::keyboardGone(const std::shared_ptr<LinuxKeyboard>& keyboard)
{
    // The last pressed goes up first, as fingers leave a chord.
    const auto held = keyboard->heldKeys();
    for (auto last = held.rbegin(); last != held.rend(); ++last) {
        key(keyboard, {KeyDecoder::Change::Kind::up, last->linuxCode, last->usage.page, last->usage.usage});
    }
    // Keys whose release above named another key than their press: their mapped keys go up too.
    for (const auto mapped : keyboard->releaseAll()) {
        mappedKey(mapped, false, 0);
        flush();
    }
}

void KeyPipeline::releaseAll()
{
    if (const auto report = PointerFrame::release(std::exchange(buttons_, {}));
        !report.empty() && pointerWriter_) {
        pointerWriter_(report);
    }
    while (!virtualKeyboard_.releaseAll(out_)) {
        flush();
    }
    flush();
}

void KeyPipeline::flush()
{
    if (!out_.empty()) {
        writer_(out_.events());
        out_.clear();
    }
}

}  // namespace veltrane::linuxbackend
