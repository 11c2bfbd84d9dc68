#include "platform/UserKeyMapping.h"

#include <algorithm>

namespace veltrane::platform {

namespace {

constexpr int kPageShift = 32;

std::int64_t keyValue(HidUsage key)
{
    return static_cast<std::int64_t>(std::uint64_t{key.page} << kPageShift | key.usage);
}

}  // namespace

std::optional<HidUsage> UserKeyMapping::press(HidUsage key)
{
    const auto mapped = map(key);
    const auto end = held_.begin() + static_cast<std::ptrdiff_t>(heldCount_);
    const auto found = std::find_if(held_.begin(), end, [&](const Held& held) { return held.key == key; });
    if (found != end) {
        found->mapped = mapped;
    } else if (heldCount_ < kMostHeld) {
        held_[heldCount_++] = Held{key, mapped};
    }
    return mapped;
}

std::optional<HidUsage> UserKeyMapping::release(HidUsage key)
{
    const auto end = held_.begin() + static_cast<std::ptrdiff_t>(heldCount_);
    const auto found = std::find_if(held_.begin(), end, [&](const Held& held) { return held.key == key; });
    if (found == end) {
        return map(key);
    }
    const auto mapped = found->mapped;
    // Kept in the order they went down, for those who let them go last first.
    std::copy(found + 1, end, found);
    --heldCount_;
    return mapped;
}

std::vector<HidUsage> UserKeyMapping::releaseAll()
{
    std::vector<HidUsage> mapped;
    for (std::size_t index = 0; index < heldCount_; ++index) {
        if (held_[index].mapped) {
            mapped.push_back(*held_[index].mapped);
        }
    }
    heldCount_ = 0;
    return mapped;
}

std::vector<HidUsage> UserKeyMapping::heldKeys() const
{
    std::vector<HidUsage> keys;
    for (std::size_t index = 0; index < heldCount_; ++index) {
        keys.push_back(held_[index].key);
    }
    return keys;
}

std::optional<HidUsage> UserKeyMapping::map(HidUsage key) const
{
    for (const auto& entry : mapping_) {
        if (entry.source && entry.destination && *entry.source == keyValue(key)) {
            const auto destination = static_cast<std::uint64_t>(*entry.destination);
            const HidUsage mapped{static_cast<std::uint32_t>(destination >> kPageShift),
                                  static_cast<std::uint32_t>(destination & 0xFFFFFFFFu)};
            return mapped.usage == 0 ? std::nullopt : std::optional<HidUsage>(mapped);
        }
    }
    return key;
}

}  // namespace veltrane::platform
