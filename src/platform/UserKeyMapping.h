#pragma once

#include "platform/HidEventSystem.h"
#include "platform/HidUsage.h"

#include <array>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace veltrane::platform {

// A keyboard's "UserKeyMapping" applied in software, between the raw key and the event: each
// physical key becomes the key the mapping names, or no key. A key is released as what it was
// mapped to when it went down, so a mapping replaced while the key is held leaves nothing stuck.
// Not synchronised: its keyboard guards it. Pressing and releasing does not allocate.
class UserKeyMapping {
public:
    void set(std::vector<HidKeyMapping> mapping) { mapping_ = std::move(mapping); }

    // The key the rest of the system sees, or nothing when the mapping turns it into no key.
    std::optional<HidUsage> press(HidUsage key);
    std::optional<HidUsage> release(HidUsage key);
    // The keys still down, as they were mapped, in no particular order; they count as released.
    std::vector<HidUsage> releaseAll();
    // The physical keys still down, the first pressed first.
    std::vector<HidUsage> heldKeys() const;

private:
    struct Held {
        HidUsage key;
        std::optional<HidUsage> mapped;
    };
    // More keys than a keyboard reports at once; beyond it a key is released as mapped now.
    static constexpr std::size_t kMostHeld = 32;

    std::optional<HidUsage> map(HidUsage key) const;

    std::vector<HidKeyMapping> mapping_;
    std::array<Held, kMostHeld> held_{};
    std::size_t heldCount_ = 0;
};

}  // namespace veltrane::platform
