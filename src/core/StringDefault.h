#pragma once

#include "platform/UserDefaults.h"

#include <mutex>
#include <optional>
#include <string>

namespace veltrane {

// A text setting; absent, or a stored value that is no text, reads as unset. Writing unset
// removes the key.
class StringDefault {
public:
    StringDefault(platform::UserDefaults& store, std::string key);

    const std::string& key() const { return key_; }
    std::optional<std::string> value() const;
    void setValue(std::optional<std::string> value);

private:
    platform::UserDefaults& store_;
    const std::string key_;
    bool initialized_ = false;
    mutable std::mutex mutex_;
    std::optional<std::string> value_;
};

}  // namespace veltrane
