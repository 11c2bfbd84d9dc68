#pragma once

#include "platform/UserDefaults.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace veltrane {

// A boolean that may be unset, stored as 0 (unset), 1 (true) or 2 (false); any other stored
// number reads as unset. Each reader decides what unset means (isOn / isOff below).
class OptionalBoolDefault {
public:
    OptionalBoolDefault(platform::UserDefaults& store, std::string key);

    const std::string& key() const { return key_; }
    std::optional<bool> enabled() const;
    void setEnabled(std::optional<bool> enabled);

    // True only when set to true: unset counts as off.
    bool isOn() const { return enabled() == true; }
    // True only when set to false: unset counts as on.
    bool isOff() const { return enabled() == false; }

private:
    platform::UserDefaults& store_;
    const std::string key_;
    bool initialized_ = false;
    std::atomic<std::int64_t> stored_{0};
};

}  // namespace veltrane
