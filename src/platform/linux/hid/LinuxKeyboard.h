#pragma once

#include "platform/HidDevice.h"
#include "platform/HidEventSystem.h"
#include "platform/HidUsage.h"
#include "platform/UserKeyMapping.h"
#include "platform/linux/hid/HidIdentity.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// A keyboard the program has grabbed, as the HID ports see it: a device with its identity, and a
// service that keeps the keyboard's user key mapping and applies it in software. The mapping
// lives in this process only, so a crash or a kill leaves the keyboard exactly as it was.
class LinuxKeyboard final : public platform::HidDevice, public platform::HidServiceClient {
public:
    using Identity = HidIdentity;

    explicit LinuxKeyboard(Identity identity) : identity_(std::move(identity)) {}

    const std::string& name() const { return identity_.name; }
    // After this the keyboard refuses new mappings; the program forgets it.
    void disconnect();

    platform::HidProperty property(std::string_view key) const override;
    platform::HidProperty searchServiceProperty(std::string_view key) const override { return property(key); }

    bool conformsTo(std::uint32_t usagePage, std::uint32_t usage) const override;
    bool setUserKeyMapping(const std::vector<platform::HidKeyMapping>& mapping) override;

    // What a physical key becomes after the mapping, or nothing for no key.
    std::optional<platform::HidUsage> press(platform::HidUsage key);
    std::optional<platform::HidUsage> release(platform::HidUsage key);
    // Every key still down, as mapped, and forgets them: the keyboard is gone or the program stops.
    std::vector<platform::HidUsage> releaseAll();

    // A physical key, by the kernel's code, went down as that usage (page 0 when none is known) or
    // up; the usage it went down as is the one it must go up as, whatever the keymap or the events
    // resent after a loss say later. Returns the usage the key goes down or up as, or nothing for a
    // key to ignore: one naming the usage of another key held (a device that names two keys alike),
    // until it is released.
    struct Held {
        std::uint16_t linuxCode = 0;
        platform::HidUsage usage;
    };
    std::optional<platform::HidUsage> noteKey(Held key, bool down);
    // The keys down, the first pressed first.
    std::vector<Held> heldKeys() const;

private:
    const Identity identity_;
    mutable std::mutex mutex_;
    platform::UserKeyMapping mapping_;
    bool connected_ = true;
    // More keys than a keyboard reports at once.
    static constexpr std::size_t kMostHeld = 32;
    std::array<Held, kMostHeld> held_{};
    std::size_t heldCount_ = 0;
};

}  // namespace veltrane::linuxbackend
