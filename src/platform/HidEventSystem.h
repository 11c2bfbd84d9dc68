#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace veltrane::platform {

// One pair of a keyboard's user key mapping. Keys are usage page << 32 | usage (caps lock is
// 0x700000039); a destination of 0x700000000 maps the source to no key. Either side may be
// missing in a malformed entry; the keyboard then ignores the entry.
struct HidKeyMapping {
    std::optional<std::int64_t> source;
    std::optional<std::int64_t> destination;

    bool operator==(const HidKeyMapping&) const = default;
};

// A service of the HID event system: a keyboard, a pointing device and so on.
class HidServiceClient {
public:
    virtual ~HidServiceClient() = default;

    virtual bool conformsTo(std::uint32_t usagePage, std::uint32_t usage) const = 0;
    // Replaces the service's whole "UserKeyMapping" property; false when the service refuses.
    virtual bool setUserKeyMapping(const std::vector<HidKeyMapping>& mapping) = 0;
};

class HidEventSystem {
public:
    virtual ~HidEventSystem() = default;

    // The services in the system's order, or nothing when the list cannot be had.
    virtual std::optional<std::vector<std::shared_ptr<HidServiceClient>>> copyServices() = 0;
};

}  // namespace veltrane::platform
