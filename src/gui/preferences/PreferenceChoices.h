#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace veltrane::gui {

// One item of a pop-up of the preferences: what the user reads and the value the setting stores.
struct PreferenceChoice {
    QString title;
    std::int64_t tag = 0;
};

// The items of the preferences' four pop-ups, in the order they are offered.
class PreferenceChoices {
public:
    // What caps lock can become: HID usages, and -1 for no key at all.
    static const std::vector<PreferenceChoice>& capsLockRemap();
    // The keys that can be the hyper key, by HID usage, in the engine's order of kinds.
    static const std::vector<PreferenceChoice>& physicalKeys();
    // The keys a quick press can send, by virtual key code; 0 sends none and toggles caps lock.
    static const std::vector<PreferenceChoice>& quickPressKeys();
    // The trackpad slides, one gesture each.
    static const std::vector<PreferenceChoice>& slides();
};

}  // namespace veltrane::gui
