#pragma once

#include "platform/HidDevice.h"
#include "platform/HidEventSystem.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::sim {

class Transcript;
struct Faults;

// A HID key: usage page and usage.
struct HidKey {
    std::uint32_t page = 0;
    std::uint32_t usage = 0;

    auto operator<=>(const HidKey&) const = default;
};

// A connected keyboard: a HID device with properties (any of them may be absent) and a service
// of the HID event system that keeps a "UserKeyMapping" and applies it to its keys.
class SimKeyboard final : public platform::HidDevice, public platform::HidServiceClient {
public:
    using Properties = std::map<std::string, platform::HidProperty, std::less<>>;

    SimKeyboard(std::string name, Properties properties, Transcript& transcript, Faults& faults);

    const std::string& name() const { return name_; }
    void disconnect() { connected_ = false; }

    platform::HidProperty property(std::string_view key) const override;
    bool conformsTo(std::uint32_t usagePage, std::uint32_t usage) const override;
    bool setUserKeyMapping(const std::vector<platform::HidKeyMapping>& mapping) override;

    // The key the rest of the system sees for a physical key going down, or nothing when the
    // mapping turns it into no key. A key is released as what it was mapped to when it went
    // down, so a mapping written while it is held does not leave a key stuck.
    std::optional<HidKey> press(HidKey key);
    std::optional<HidKey> release(HidKey key);

private:
    std::optional<HidKey> map(HidKey key) const;

    std::string name_;
    Properties properties_;
    Transcript& transcript_;
    Faults& faults_;
    bool connected_ = true;
    std::vector<platform::HidKeyMapping> mapping_;
    std::map<HidKey, std::optional<HidKey>> held_;
};

}  // namespace veltrane::sim
