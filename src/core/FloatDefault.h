#pragma once

#include "platform/UserDefaults.h"

#include <atomic>
#include <optional>
#include <string>

namespace veltrane {

// A 32-bit float setting; a stored or absent value equal to 0.0 reads as the declared default,
// when there is one (a stored NaN stays NaN).
class FloatDefault {
public:
    FloatDefault(platform::UserDefaults& store, std::string key, std::optional<float> declaredDefault = {});

    const std::string& key() const { return key_; }
    float value() const { return value_.load(std::memory_order_relaxed); }
    void setValue(float value);

private:
    platform::UserDefaults& store_;
    const std::string key_;
    bool initialized_ = false;
    std::atomic<float> value_{0.0f};
};

}  // namespace veltrane
