#pragma once

#include "platform/Bindings.h"

#include <map>
#include <mutex>
#include <string>

namespace veltrane::sim {

class Transcript;

// What the preferences would show of one process's observable values. The device model's three
// flags are recorded together as a "devices" line whenever one of them changes.
class SimBindings final : public platform::Bindings {
public:
    explicit SimBindings(Transcript& transcript) : transcript_(transcript) {}

    void didChangeValue(std::string_view object, std::string_view key, bool value) override;

private:
    bool value(const std::string& key) const;

    Transcript& transcript_;
    std::mutex mutex_;
    std::map<std::string, bool, std::less<>> deviceFlags_;
};

}  // namespace veltrane::sim
