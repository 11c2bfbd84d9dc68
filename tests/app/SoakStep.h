#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace veltrane::testing {

// One thing a user or the desktop does to the running application, as the soaks play it. A step
// names its keyboard, key, application or setting by its place in the lists below, so that a list
// of steps stays playable whatever steps a shrinking removes.
struct SoakStep {
    enum class Kind : std::uint8_t {
        // Presses the key when it is up on that keyboard, releases it when it is down.
        key,
        wait,
        click,
        front,
        menu,
        setting,
        plug,
        unplug,
        sleep,
        wake,
        sessionActive,
    };

    static constexpr std::array<const char*, 9> kKeys = {"a",      "b",      "capslock", "lcmd", "ropt",
                                                         "lshift", "escape", "f13",      "rcmd"};
    static constexpr std::array<double, 3> kWaits = {0.05, 0.3, 1.1};
    // The engine stands aside for Terminal, and always for the login window.
    static constexpr std::array<const char*, 5> kApplications = {"com.apple.Mail", "com.apple.Safari",
                                                                 "com.apple.Notes", "com.apple.Terminal",
                                                                 "com.apple.loginwindow"};
    // By the names the scenarios give them.
    static constexpr std::array<const char*, 5> kMenuActions = {
        "synthesizeCapsLockRemap", "toggleLogDebugMessages", "toggleRelaunchDelay", "ignoreFrontMostApp",
        "launchLoggerOnStart"};
    // Switches are 1 for on, 2 for off, as they are stored.
    static constexpr std::array<std::pair<const char*, std::int64_t>, 14> kSettings = {{
        {"keyRemap", 1},
        {"keyRemap", 2},
        {"executeQuickHyperKey", 1},
        {"executeQuickHyperKey", 2},
        {"physicalKeycode", 0x39},
        {"physicalKeycode", 0x68},
        {"physicalKeycode", 0xE7},
        {"capsLockRemapped", 1},
        {"capsLockRemapped", 2},
        {"capsLockKeycode", 0x29},
        {"capsLockKeycode", -1},
        {"listenerRemap", 1},
        {"listenerRemap", 2},
        {"applyToClick", 2},
    }};

    Kind kind;
    // The keyboard of a key or an unplug, among those plugged in (modulo their count).
    std::uint8_t keyboard = 0;
    // The key, wait, application, menu action or setting, in its list.
    std::uint8_t choice = 0;

    // As a person reads it, and as parse() reads it back: "key 1 capslock", "setting keyRemap 2".
    std::string text() const;
    // Throws std::invalid_argument naming a text that is no step.
    static SoakStep parse(const std::string& text);
};

}  // namespace veltrane::testing
