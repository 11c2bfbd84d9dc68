#include "platform/linux/KeyPipeline.h"

#include "platform/KeyTable.h"

namespace veltrane::linuxbackend {

namespace {

using platform::Event;
using platform::EventType;
using platform::KeyTable;

constexpr std::uint32_t kCapsLockUsage = 0x39;
constexpr platform::EventFlags kModifierKeyFlags =
    platform::kFlagShift | platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand;

bool isCapsLock(const KeyTable::Key& key)
{
    return key.usagePage == KeyTable::kKeyboardPage && key.usage == kCapsLockUsage;
}

}  // namespace

KeyPipeline::KeyPipeline(LinuxHidStack& hid, LinuxEventTapService& taps, ModifierState& modifiers,
                         platform::Queue& mainQueue, Writer writer)
    : hid_(hid), taps_(taps), modifiers_(modifiers), mainQueue_(mainQueue), writer_(std::move(writer))
{
}

void KeyPipeline::key(const std::shared_ptr<LinuxKeyboard>& keyboard, const KeyDecoder::Change& change)
{
    using Kind = KeyDecoder::Change::Kind;
    if (change.kind != Kind::down && change.kind != Kind::up) {
        return;
    }
    const bool down = change.kind == Kind::down;
    if (change.usagePage == 0) {
        // A key no table knows goes out as it came, so that nothing is lost.
        virtualKeyboard_.key(change.linuxCode, down, modifiers_.heldFlags(), out_);
    } else {
        const platform::HidUsage usage{change.usagePage, change.usage};
        hid_.rawKey(keyboard, usage, down);
        if (const auto mapped = down ? keyboard->press(usage) : keyboard->release(usage)) {
            mappedKey(*mapped, down, *mapped == usage ? change.linuxCode : 0);
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
        // Caps lock acts on its press only, which toggles the lock.
        if (!down) {
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
    pass(event);
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
    pass(event);
    const KeyTable::Key* known = KeyTable::byKeyCode(event.keyCode);
    if (known != nullptr && (event.type == EventType::keyDown || event.type == EventType::keyUp)) {
        virtualKeyboard_.key(known->linuxCode, event.type == EventType::keyDown, event.flags, out_);
    }
    flush();
}

void KeyPipeline::capsLockChanged()
{
    const KeyTable::Key* capsLock = KeyTable::byUsage(KeyTable::kKeyboardPage, kCapsLockUsage);
    virtualKeyboard_.tap(capsLock->linuxCode, out_);
    flush();
}

void KeyPipeline::keyboardGone(const std::shared_ptr<LinuxKeyboard>& keyboard,
                               std::span<const std::uint16_t> keysDown)
{
    for (const auto code : keysDown) {
        const KeyTable::Key* known = KeyTable::byLinuxCode(code);
        KeyDecoder::Change release{KeyDecoder::Change::Kind::up, code, 0, 0};
        if (known != nullptr) {
            release.usagePage = known->usagePage;
            release.usage = known->usage;
        }
        key(keyboard, release);
    }
    // Keys whose release above named another key than their press: their mapped keys go up too.
    for (const auto mapped : keyboard->releaseAll()) {
        mappedKey(mapped, false, 0);
        flush();
    }
}

void KeyPipeline::releaseAll()
{
    while (!virtualKeyboard_.releaseAll(out_)) {
        flush();
    }
    flush();
}

void KeyPipeline::pass(Event& event)
{
    mainQueue_.sync([&] { taps_.pass(event); });
}

void KeyPipeline::flush()
{
    if (!out_.empty()) {
        writer_(out_.events());
        out_.clear();
    }
}

}  // namespace veltrane::linuxbackend
