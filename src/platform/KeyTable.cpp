#include "platform/KeyTable.h"

#include <array>
#include <unordered_map>

namespace veltrane::platform {

namespace {

using Key = KeyTable::Key;

constexpr std::uint32_t kKeyboard = KeyTable::kKeyboardPage;
constexpr EventFlags kFn = kFlagSecondaryFn;
constexpr EventFlags kPad = kFlagNumericPad;
constexpr std::optional<std::uint16_t> kNoCode;

// Virtual key codes are those of the ANSI layout. Linux codes are the kernel's KEY_* values, as
// hid-input reports each usage.
constexpr std::array kKeys = {
    Key{kKeyboard, 0x04, 0, 30, "a"},
    Key{kKeyboard, 0x05, 11, 48, "b"},
    Key{kKeyboard, 0x06, 8, 46, "c"},
    Key{kKeyboard, 0x07, 2, 32, "d"},
    Key{kKeyboard, 0x08, 14, 18, "e"},
    Key{kKeyboard, 0x09, 3, 33, "f"},
    Key{kKeyboard, 0x0A, 5, 34, "g"},
    Key{kKeyboard, 0x0B, 4, 35, "h"},
    Key{kKeyboard, 0x0C, 34, 23, "i"},
    Key{kKeyboard, 0x0D, 38, 36, "j"},
    Key{kKeyboard, 0x0E, 40, 37, "k"},
    Key{kKeyboard, 0x0F, 37, 38, "l"},
    Key{kKeyboard, 0x10, 46, 50, "m"},
    Key{kKeyboard, 0x11, 45, 49, "n"},
    Key{kKeyboard, 0x12, 31, 24, "o"},
    Key{kKeyboard, 0x13, 35, 25, "p"},
    Key{kKeyboard, 0x14, 12, 16, "q"},
    Key{kKeyboard, 0x15, 15, 19, "r"},
    Key{kKeyboard, 0x16, 1, 31, "s"},
    Key{kKeyboard, 0x17, 17, 20, "t"},
    Key{kKeyboard, 0x18, 32, 22, "u"},
    Key{kKeyboard, 0x19, 9, 47, "v"},
    Key{kKeyboard, 0x1A, 13, 17, "w"},
    Key{kKeyboard, 0x1B, 7, 45, "x"},
    Key{kKeyboard, 0x1C, 16, 21, "y"},
    Key{kKeyboard, 0x1D, 6, 44, "z"},
    Key{kKeyboard, 0x1E, 18, 2, "1"},
    Key{kKeyboard, 0x1F, 19, 3, "2"},
    Key{kKeyboard, 0x20, 20, 4, "3"},
    Key{kKeyboard, 0x21, 21, 5, "4"},
    Key{kKeyboard, 0x22, 23, 6, "5"},
    Key{kKeyboard, 0x23, 22, 7, "6"},
    Key{kKeyboard, 0x24, 26, 8, "7"},
    Key{kKeyboard, 0x25, 28, 9, "8"},
    Key{kKeyboard, 0x26, 25, 10, "9"},
    Key{kKeyboard, 0x27, 29, 11, "0"},
    Key{kKeyboard, 0x28, 36, 28, "return"},
    Key{kKeyboard, 0x29, 53, 1, "escape"},
    Key{kKeyboard, 0x2A, 51, 14, "backspace"},
    Key{kKeyboard, 0x2B, 48, 15, "tab"},
    Key{kKeyboard, 0x2C, 49, 57, "space"},
    Key{kKeyboard, 0x2D, 27, 12, "minus"},
    Key{kKeyboard, 0x2E, 24, 13, "equal"},
    Key{kKeyboard, 0x2F, 33, 26, "leftbracket"},
    Key{kKeyboard, 0x30, 30, 27, "rightbracket"},
    Key{kKeyboard, 0x31, 42, 43, "backslash"},
    Key{kKeyboard, 0x33, 41, 39, "semicolon"},
    Key{kKeyboard, 0x34, 39, 40, "quote"},
    Key{kKeyboard, 0x35, 50, 41, "grave"},
    Key{kKeyboard, 0x36, 43, 51, "comma"},
    Key{kKeyboard, 0x37, 47, 52, "period"},
    Key{kKeyboard, 0x38, 44, 53, "slash"},
    Key{kKeyboard, 0x39, 57, 58, "capslock"},
    Key{kKeyboard, 0x3A, 122, 59, "f1", 0, kFn},
    Key{kKeyboard, 0x3B, 120, 60, "f2", 0, kFn},
    Key{kKeyboard, 0x3C, 99, 61, "f3", 0, kFn},
    Key{kKeyboard, 0x3D, 118, 62, "f4", 0, kFn},
    Key{kKeyboard, 0x3E, 96, 63, "f5", 0, kFn},
    Key{kKeyboard, 0x3F, 97, 64, "f6", 0, kFn},
    Key{kKeyboard, 0x40, 98, 65, "f7", 0, kFn},
    Key{kKeyboard, 0x41, 100, 66, "f8", 0, kFn},
    Key{kKeyboard, 0x42, 101, 67, "f9", 0, kFn},
    Key{kKeyboard, 0x43, 109, 68, "f10", 0, kFn},
    Key{kKeyboard, 0x44, 103, 87, "f11", 0, kFn},
    Key{kKeyboard, 0x45, 111, 88, "f12", 0, kFn},
    Key{kKeyboard, 0x46, kNoCode, 99, "printscreen"},
    Key{kKeyboard, 0x47, kNoCode, 70, "scrolllock"},
    Key{kKeyboard, 0x48, kNoCode, 119, "pause"},
    // The help key of the platform stands where PC keyboards have insert.
    Key{kKeyboard, 0x49, 114, 110, "insert", 0, kFn},
    Key{kKeyboard, 0x4A, 115, 102, "home", 0, kFn},
    Key{kKeyboard, 0x4B, 116, 104, "pageup", 0, kFn},
    Key{kKeyboard, 0x4C, 117, 111, "delete", 0, kFn},
    Key{kKeyboard, 0x4D, 119, 107, "end", 0, kFn},
    Key{kKeyboard, 0x4E, 121, 109, "pagedown", 0, kFn},
    Key{kKeyboard, 0x4F, 124, 106, "right", 0, kFn | kPad},
    Key{kKeyboard, 0x50, 123, 105, "left", 0, kFn | kPad},
    Key{kKeyboard, 0x51, 125, 108, "down", 0, kFn | kPad},
    Key{kKeyboard, 0x52, 126, 103, "up", 0, kFn | kPad},
    // Num lock is the keypad's clear key on the platform's keyboards.
    Key{kKeyboard, 0x53, 71, 69, "numlock", 0, kPad},
    Key{kKeyboard, 0x54, 75, 98, "kpslash", 0, kPad},
    Key{kKeyboard, 0x55, 67, 55, "kpasterisk", 0, kPad},
    Key{kKeyboard, 0x56, 78, 74, "kpminus", 0, kPad},
    Key{kKeyboard, 0x57, 69, 78, "kpplus", 0, kPad},
    Key{kKeyboard, 0x58, 76, 96, "kpenter", 0, kPad},
    Key{kKeyboard, 0x59, 83, 79, "kp1", 0, kPad},
    Key{kKeyboard, 0x5A, 84, 80, "kp2", 0, kPad},
    Key{kKeyboard, 0x5B, 85, 81, "kp3", 0, kPad},
    Key{kKeyboard, 0x5C, 86, 75, "kp4", 0, kPad},
    Key{kKeyboard, 0x5D, 87, 76, "kp5", 0, kPad},
    Key{kKeyboard, 0x5E, 88, 77, "kp6", 0, kPad},
    Key{kKeyboard, 0x5F, 89, 71, "kp7", 0, kPad},
    Key{kKeyboard, 0x60, 91, 72, "kp8", 0, kPad},
    Key{kKeyboard, 0x61, 92, 73, "kp9", 0, kPad},
    Key{kKeyboard, 0x62, 82, 82, "kp0", 0, kPad},
    Key{kKeyboard, 0x63, 65, 83, "kpdot", 0, kPad},
    // The key between left shift and Z on ISO keyboards.
    Key{kKeyboard, 0x64, 10, 86, "intlbackslash"},
    Key{kKeyboard, 0x65, 110, 127, "application"},
    Key{kKeyboard, 0x67, 81, 117, "kpequal", 0, kPad},
    Key{kKeyboard, 0x68, 105, 183, "f13", 0, kFn},
    Key{kKeyboard, 0x69, 107, 184, "f14", 0, kFn},
    Key{kKeyboard, 0x6A, 113, 185, "f15", 0, kFn},
    Key{kKeyboard, 0x6B, 106, 186, "f16", 0, kFn},
    Key{kKeyboard, 0x6C, 64, 187, "f17", 0, kFn},
    Key{kKeyboard, 0x6D, 79, 188, "f18", 0, kFn},
    Key{kKeyboard, 0x6E, 80, 189, "f19", 0, kFn},
    Key{kKeyboard, 0x6F, 90, 190, "f20", 0, kFn},
    Key{kKeyboard, 0x70, kNoCode, 191, "f21"},
    Key{kKeyboard, 0x71, kNoCode, 192, "f22"},
    Key{kKeyboard, 0x72, kNoCode, 193, "f23"},
    Key{kKeyboard, 0x73, kNoCode, 194, "f24"},
    Key{kKeyboard, 0x7F, 74, 113, "mute"},
    Key{kKeyboard, 0x80, 72, 115, "volumeup"},
    Key{kKeyboard, 0x81, 73, 114, "volumedown"},
    Key{kKeyboard, 0x85, 95, 121, "kpcomma", 0, kPad},
    Key{kKeyboard, 0x87, 94, 89, "intlro"},
    Key{kKeyboard, 0x89, 93, 124, "intlyen"},
    Key{kKeyboard, 0x90, 104, 122, "lang1"},
    Key{kKeyboard, 0x91, 102, 123, "lang2"},
    Key{kKeyboard, 0xE0, 59, 29, "lctrl", kFlagControl},
    Key{kKeyboard, 0xE1, 56, 42, "lshift", kFlagShift},
    Key{kKeyboard, 0xE2, 58, 56, "lopt", kFlagOption},
    Key{kKeyboard, 0xE3, 55, 125, "lcmd", kFlagCommand},
    Key{kKeyboard, 0xE4, 62, 97, "rctrl", kFlagControl},
    Key{kKeyboard, 0xE5, 60, 54, "rshift", kFlagShift},
    Key{kKeyboard, 0xE6, 61, 100, "ropt", kFlagOption},
    Key{kKeyboard, 0xE7, 54, 126, "rcmd", kFlagCommand},
    Key{KeyTable::kVendorPage, 0x03, 63, 0x1D0, "fn", kFn},
};

std::uint64_t usageKey(std::uint32_t usagePage, std::uint32_t usage)
{
    return std::uint64_t{usagePage} << 32 | usage;
}

// The table by each column, made once.
struct Indexes {
    Indexes()
    {
        for (const Key& key : kKeys) {
            byUsage.emplace(usageKey(key.usagePage, key.usage), &key);
            if (key.keyCode) {
                byKeyCode.emplace(*key.keyCode, &key);
            }
            byLinuxCode.emplace(key.linuxCode, &key);
            byName.emplace(key.name, &key);
        }
    }

    std::unordered_map<std::uint64_t, const Key*> byUsage;
    std::unordered_map<std::uint16_t, const Key*> byKeyCode;
    std::unordered_map<std::uint16_t, const Key*> byLinuxCode;
    std::unordered_map<std::string_view, const Key*> byName;
};

const Indexes& indexes()
{
    static const Indexes made;
    return made;
}

template <class Map, class Value> const Key* find(const Map& map, const Value& value)
{
    const auto found = map.find(value);
    return found == map.end() ? nullptr : found->second;
}

}  // namespace

std::span<const KeyTable::Key> KeyTable::keys()
{
    return kKeys;
}

const KeyTable::Key* KeyTable::byUsage(std::uint32_t usagePage, std::uint32_t usage)
{
    return find(indexes().byUsage, usageKey(usagePage, usage));
}

const KeyTable::Key* KeyTable::byKeyCode(std::uint16_t keyCode)
{
    return find(indexes().byKeyCode, keyCode);
}

const KeyTable::Key* KeyTable::byLinuxCode(std::uint16_t linuxCode)
{
    return find(indexes().byLinuxCode, linuxCode);
}

const KeyTable::Key* KeyTable::byName(std::string_view name)
{
    return find(indexes().byName, name);
}

}  // namespace veltrane::platform
