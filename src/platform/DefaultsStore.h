#pragma once

#include "platform/DefaultsValue.h"
#include "platform/UserDefaults.h"

namespace veltrane::platform {

// User defaults over a store of DefaultsValues: what every backend shares, the typed readers with
// their conversions and the types the writers store (a float is kept as a double). A backend only
// keeps the values.
class DefaultsStore : public UserDefaults {
public:
    bool boolForKey(const std::string& key) const final;
    std::int64_t integerForKey(const std::string& key) const final;
    float floatForKey(const std::string& key) const final;
    std::optional<std::string> stringForKey(const std::string& key) const final;

    void setBool(const std::string& key, bool value) final;
    void setInteger(const std::string& key, std::int64_t value) final;
    void setFloat(const std::string& key, float value) final;
    void setString(const std::string& key, const std::optional<std::string>& value) final;
    void remove(const std::string& key) final;

protected:
    // The stored value, or nothing when the key is absent.
    virtual std::optional<DefaultsValue> value(const std::string& key) const = 0;
    virtual void store(const std::string& key, DefaultsValue value) = 0;
    virtual void erase(const std::string& key) = 0;
};

}  // namespace veltrane::platform
