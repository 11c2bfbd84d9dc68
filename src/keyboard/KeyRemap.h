#pragma once

#include "core/Defaults.h"
#include "keyboard/HidRemap.h"

#include <cstdint>

namespace veltrane {

// Turns the settings into the keyboards' key mapping.
class KeyRemap {
public:
    // Maps caps lock to one key (0: no key at all) and starts following keyboards.
    static void remapCapsLock(HidRemap& hidRemap, std::uint32_t destinationUsage);
    // Recomputes the whole mapping: the physical hyper key when it is not a modifier, then caps
    // lock as the settings say.
    static void applyKeyMapping(HidRemap& hidRemap, Defaults& defaults);

private:
    static void remapPhysicalKey(HidRemap& hidRemap, Defaults& defaults);
    static void remapCapsLockFromSettings(HidRemap& hidRemap, Defaults& defaults);
};

}  // namespace veltrane
