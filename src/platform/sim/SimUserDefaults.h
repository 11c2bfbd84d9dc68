#pragma once

#include "platform/DefaultsStore.h"

#include <mutex>

namespace veltrane::sim {

// One process's view of the defaults domain: it reads the domain as it stood when the process
// started (what other programs write later is not seen until the next launch) and writes through
// to the domain, so the next process sees its writes. Settings are read and written from the
// application's threads.
class SimUserDefaults final : public platform::DefaultsStore {
public:
    explicit SimUserDefaults(platform::DefaultsDomain& domain) : domain_(domain), snapshot_(domain) {}

private:
    std::optional<platform::DefaultsValue> value(const std::string& key) const override;
    void store(const std::string& key, platform::DefaultsValue value) override;
    void erase(const std::string& key) override;

    mutable std::mutex mutex_;
    platform::DefaultsDomain& domain_;
    platform::DefaultsDomain snapshot_;
};

}  // namespace veltrane::sim
