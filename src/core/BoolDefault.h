#pragma once

#include "platform/UserDefaults.h"

#include <atomic>
#include <string>

namespace veltrane {

// A boolean setting: absent reads as false.
class BoolDefault {
public:
    BoolDefault(platform::UserDefaults& store, std::string key);

    const std::string& key() const { return key_; }
    bool enabled() const { return enabled_.load(std::memory_order_relaxed); }
    void setEnabled(bool enabled);

private:
    platform::UserDefaults& store_;
    const std::string key_;
    bool initialized_ = false;
    std::atomic<bool> enabled_{false};
};

}  // namespace veltrane
