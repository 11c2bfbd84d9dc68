#pragma once

#include "platform/UserDefaults.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace veltrane {

// An integer setting; a stored or absent 0 reads as the declared default, when there is one.
class IntDefault {
public:
    IntDefault(platform::UserDefaults& store, std::string key,
               std::optional<std::int64_t> declaredDefault = {});

    const std::string& key() const { return key_; }
    std::int64_t value() const { return value_.load(std::memory_order_relaxed); }
    void setValue(std::int64_t value);

private:
    platform::UserDefaults& store_;
    const std::string key_;
    bool initialized_ = false;
    std::atomic<std::int64_t> value_{0};
};

}  // namespace veltrane
