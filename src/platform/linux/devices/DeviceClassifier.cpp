#include "platform/linux/devices/DeviceClassifier.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace veltrane::linuxbackend {

namespace {

using Kind = DeviceClassifier::Kind;
using Verdict = DeviceClassifier::Verdict;

constexpr std::string_view kOwnPrefix = "Veltrane ";

constexpr std::array<std::uint16_t, 26> kLetters = {
    KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
    KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};

// Escape through Space in the kernel's numbering: digits, letters, punctuation, Tab, Return,
// Backspace and the modifiers, the keys any typing keyboard has.
constexpr std::size_t kMainBlockFirst = KEY_ESC;
constexpr std::size_t kMainBlockLast = KEY_SPACE;

bool hasAnyKey(const DeviceCapabilities& device, std::initializer_list<std::size_t> codes)
{
    return std::any_of(codes.begin(), codes.end(), [&](std::size_t code) { return device.hasKey(code); });
}

// Power buttons, lid switches and media-key devices report a few keys each; only a device with the
// letters, or most of the main block, is something a user types on.
bool isKeyboard(const DeviceCapabilities& device)
{
    const bool letters = std::all_of(kLetters.begin(), kLetters.end(),
                                     [&](std::uint16_t code) { return device.hasKey(code); });
    std::size_t mainBlock = 0;
    for (std::size_t code = kMainBlockFirst; code <= kMainBlockLast; ++code) {
        if (device.hasKey(code)) {
            ++mainBlock;
        }
    }
    return letters || mainBlock * 2 > kMainBlockLast - kMainBlockFirst + 1;
}

bool isMouse(const DeviceCapabilities& device)
{
    return device.hasRelative(REL_X) && device.hasRelative(REL_Y) && device.hasKey(BTN_LEFT);
}

bool hasPen(const DeviceCapabilities& device)
{
    return hasAnyKey(device, {BTN_TOOL_PEN, BTN_STYLUS});
}

bool isTouchpad(const DeviceCapabilities& device)
{
    const bool positions = device.hasAbsolute(ABS_MT_POSITION_X) || device.hasAbsolute(ABS_X);
    return positions && device.hasKey(BTN_TOOL_FINGER) && !hasPen(device);
}

// Tablets and game controllers report absolute axes. Requiring one keeps a keyboard that claims
// every key code, buttons included, from passing for either.
bool isTablet(const DeviceCapabilities& device)
{
    return hasPen(device) && device.hasAbsolute(ABS_X);
}

bool isGameController(const DeviceCapabilities& device)
{
    return hasAnyKey(device, {BTN_JOYSTICK, BTN_GAMEPAD}) && device.absoluteAxes.any();
}

Verdict classifyPointerOrKeys(const DeviceCapabilities& device)
{
    const bool keyboard = isKeyboard(device);
    const bool mouse = isMouse(device);
    if (keyboard && mouse) {
        return {Kind::keyboardAndMouse, "a keyboard with a pointer"};
    }
    if (keyboard) {
        return {Kind::keyboard, "a keyboard"};
    }
    if (mouse) {
        return {Kind::mouse, "a mouse"};
    }
    if (device.keys.any()) {
        return {Kind::ignored, "some keys or buttons, but not a keyboard"};
    }
    return {Kind::ignored, "neither keys nor a pointer"};
}

// FNV-1a, 32 bits: small, and the same on every machine and every run.
constexpr std::uint32_t kFnvOffset = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;

std::uint32_t mixByte(std::uint32_t hash, unsigned char byte)
{
    return (hash ^ byte) * kFnvPrime;
}

std::uint32_t mixNumber(std::uint32_t hash, std::uint16_t value)
{
    return mixByte(mixByte(hash, static_cast<unsigned char>(value & 0xFF)),
                   static_cast<unsigned char>(value >> 8));
}

// Each field ends with a zero byte, so that "ab" then "c" differs from "a" then "bc".
std::uint32_t mixText(std::uint32_t hash, std::string_view text)
{
    for (const char byte : text) {
        hash = mixByte(hash, static_cast<unsigned char>(byte));
    }
    return mixByte(hash, 0);
}

}  // namespace

DeviceClassifier::Verdict DeviceClassifier::classify(const DeviceCapabilities& device)
{
    if (device.name.starts_with(kOwnPrefix)) {
        return {Kind::ignored, "our own virtual device"};
    }
    if (isTouchpad(device)) {
        return {Kind::touchpad, "a touchpad: a slide on it can hold the hyper key; never grabbed"};
    }
    if (isTablet(device)) {
        return {Kind::ignored, "a tablet: never grabbed"};
    }
    if (isGameController(device)) {
        return {Kind::ignored, "a joystick or gamepad: never grabbed"};
    }
    return classifyPointerOrKeys(device);
}

std::uint32_t DeviceClassifier::locationId(const DeviceCapabilities& device)
{
    std::uint32_t hash = kFnvOffset;
    if (device.phys.empty()) {
        hash = mixNumber(mixNumber(mixNumber(hash, device.bus), device.vendor), device.product);
    } else {
        hash = mixText(hash, device.phys);
    }
    return mixText(mixText(hash, device.uniq), device.name);
}

}  // namespace veltrane::linuxbackend
