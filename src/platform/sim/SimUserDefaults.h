#pragma once

#include "platform/UserDefaults.h"
#include "platform/sim/DefaultsValue.h"

namespace veltrane::sim {

// One process's view of the defaults domain: it reads the domain as it stood when the process
// started (what other programs write later is not seen until the next launch) and writes through
// to the domain, so the next process sees its writes.
class SimUserDefaults final : public platform::UserDefaults {
public:
    explicit SimUserDefaults(DefaultsDomain& domain) : domain_(domain), snapshot_(domain) {}

    bool boolForKey(const std::string& key) const override;
    std::int64_t integerForKey(const std::string& key) const override;
    float floatForKey(const std::string& key) const override;
    std::optional<std::string> stringForKey(const std::string& key) const override;

    void setBool(const std::string& key, bool value) override;
    void setInteger(const std::string& key, std::int64_t value) override;
    void setFloat(const std::string& key, float value) override;
    void setString(const std::string& key, const std::optional<std::string>& value) override;
    void remove(const std::string& key) override;

private:
    const DefaultsValue* find(const std::string& key) const;
    void store(const std::string& key, DefaultsValue value);

    DefaultsDomain& domain_;
    DefaultsDomain snapshot_;
};

}  // namespace veltrane::sim
