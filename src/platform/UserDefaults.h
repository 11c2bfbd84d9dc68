#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veltrane::platform {

// The application's user defaults domain, a persistent per-user store of typed values.
//
// The readers never fail: an absent key reads as false, 0, 0.0 or nothing. A value stored with
// another type is converted the way a property-list store converts it: booleans read as 0 or 1,
// numbers as booleans by being non-zero, floats as integers by truncation (NaN reads as 0, values
// beyond the integer range saturate), texts as numbers by their leading number ("12abc" is 12,
// "abc" is 0) and as booleans by their first character ("YES", "true" and non-zero digits are
// true). Only a stored text reads as a text.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    virtual bool boolForKey(const std::string& key) const = 0;
    virtual std::int64_t integerForKey(const std::string& key) const = 0;
    virtual float floatForKey(const std::string& key) const = 0;
    virtual std::optional<std::string> stringForKey(const std::string& key) const = 0;

    virtual void setBool(const std::string& key, bool value) = 0;
    virtual void setInteger(const std::string& key, std::int64_t value) = 0;
    virtual void setFloat(const std::string& key, float value) = 0;
    // Nothing removes the key.
    virtual void setString(const std::string& key, const std::optional<std::string>& value) = 0;
    virtual void remove(const std::string& key) = 0;
};

}  // namespace veltrane::platform
