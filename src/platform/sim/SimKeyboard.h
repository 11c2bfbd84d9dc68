#pragma once

#include "platform/HidEventSystem.h"
#include "platform/HidUsage.h"
#include "platform/UserKeyMapping.h"
#include "platform/sim/SimHidDevice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::sim {

class DesktopLock;
class Transcript;
struct Faults;

using HidKey = platform::HidUsage;

// A connected keyboard: a HID device and a service of the HID event system that keeps a
// "UserKeyMapping" and applies it to its keys.
class SimKeyboard final : public SimHidDevice, public platform::HidServiceClient {
public:
    SimKeyboard(std::string name, Properties properties, DesktopLock& lock, Transcript& transcript,
                Faults& faults);

    void disconnect() override;

    bool conformsTo(std::uint32_t usagePage, std::uint32_t usage) const override;
    bool setUserKeyMapping(const std::vector<platform::HidKeyMapping>& mapping) override;

    // The key the rest of the system sees for a physical key going down, or nothing when the
    // mapping turns it into no key. A key is released as what it was mapped to when it went
    // down, so a mapping written while it is held does not leave a key stuck. Called under the
    // desktop lock.
    std::optional<HidKey> press(HidKey key);
    std::optional<HidKey> release(HidKey key);
    // The physical keys down, the first pressed first.
    std::vector<HidKey> heldKeys() const { return mapping_.heldKeys(); }

private:
    DesktopLock& lock_;
    Transcript& transcript_;
    Faults& faults_;
    bool connected_ = true;
    platform::UserKeyMapping mapping_;
};

}  // namespace veltrane::sim
