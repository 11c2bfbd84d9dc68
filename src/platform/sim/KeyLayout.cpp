#include "platform/sim/KeyLayout.h"

#include <array>
#include <map>
#include <utility>

namespace veltrane::sim {

namespace {

using platform::kFlagCommand;
using platform::kFlagControl;
using platform::kFlagNumericPad;
using platform::kFlagOption;
using platform::kFlagSecondaryFn;
using platform::kFlagShift;

constexpr platform::EventFlags kArrowFlags = kFlagSecondaryFn | kFlagNumericPad;

// Letters a to z (usages 4 to 29) and digits 1 to 0 (usages 30 to 39) on the ANSI layout.
constexpr std::array<std::uint16_t, 26> kLetterCodes = {0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                                        45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
constexpr std::array<std::uint16_t, 10> kDigitCodes = {18, 19, 20, 21, 23, 22, 26, 28, 25, 29};
// F1 to F12 (usages 58 to 69) and F13 to F20 (usages 104 to 111); F21 to F24 have no code.
constexpr std::array<std::uint16_t, 12> kLowFunctionCodes = {122, 120, 99,  118, 96,  97,
                                                             98,  100, 101, 109, 103, 111};
constexpr std::array<std::uint16_t, 8> kHighFunctionCodes = {105, 107, 113, 106, 64, 79, 80, 90};

const std::map<std::uint32_t, KeyInfo>& otherKeys()
{
    static const std::map<std::uint32_t, KeyInfo> keys = {
        {0x28, {36, 0, 0}},                  // return
        {0x29, {53, 0, 0}},                  // escape
        {0x2A, {51, 0, 0}},                  // backspace
        {0x2B, {48, 0, 0}},                  // tab
        {0x2C, {49, 0, 0}},                  // space
        {0x39, {57, 0, 0}},                  // caps lock
        {0x4A, {115, 0, kFlagSecondaryFn}},  // home
        {0x4B, {116, 0, kFlagSecondaryFn}},  // page up
        {0x4C, {117, 0, kFlagSecondaryFn}},  // forward delete
        {0x4D, {119, 0, kFlagSecondaryFn}},  // end
        {0x4E, {121, 0, kFlagSecondaryFn}},  // page down
        {0x4F, {124, 0, kArrowFlags}},       // right
        {0x50, {123, 0, kArrowFlags}},       // left
        {0x51, {125, 0, kArrowFlags}},       // down
        {0x52, {126, 0, kArrowFlags}},       // up
        {0x65, {110, 0, 0}},                 // application
        {0x7F, {74, 0, 0}},                  // mute
        {0x80, {72, 0, 0}},                  // volume up
        {0x81, {73, 0, 0}},                  // volume down
        {0xE0, {59, kFlagControl, 0}},       // left control
        {0xE1, {56, kFlagShift, 0}},         // left shift
        {0xE2, {58, kFlagOption, 0}},        // left option
        {0xE3, {55, kFlagCommand, 0}},       // left command
        {0xE4, {62, kFlagControl, 0}},       // right control
        {0xE5, {60, kFlagShift, 0}},         // right shift
        {0xE6, {61, kFlagOption, 0}},        // right option
        {0xE7, {54, kFlagCommand, 0}},       // right command
    };
    return keys;
}

std::optional<KeyInfo> functionKey(std::uint32_t usage)
{
    if (usage >= 0x3A && usage <= 0x45) {
        return KeyInfo{kLowFunctionCodes[usage - 0x3A], 0, kFlagSecondaryFn};
    }
    if (usage >= 0x68 && usage <= 0x6F) {
        return KeyInfo{kHighFunctionCodes[usage - 0x68], 0, kFlagSecondaryFn};
    }
    return std::nullopt;
}

std::optional<KeyInfo> keyboardKey(std::uint32_t usage)
{
    if (usage >= 0x04 && usage <= 0x1D) {
        return KeyInfo{kLetterCodes[usage - 0x04], 0, 0};
    }
    if (usage >= 0x1E && usage <= 0x27) {
        return KeyInfo{kDigitCodes[usage - 0x1E], 0, 0};
    }
    if (auto key = functionKey(usage)) {
        return key;
    }
    const auto found = otherKeys().find(usage);
    return found == otherKeys().end() ? std::nullopt : std::optional<KeyInfo>(found->second);
}

}  // namespace

std::optional<KeyInfo> KeyLayout::lookup(std::uint32_t usagePage, std::uint32_t usage)
{
    constexpr std::uint32_t fnUsage = 3;
    if (usagePage == kVendorPage && usage == fnUsage) {
        return KeyInfo{63, kFlagSecondaryFn, 0};
    }
    return usagePage == kKeyboardPage ? keyboardKey(usage) : std::nullopt;
}

}  // namespace veltrane::sim
