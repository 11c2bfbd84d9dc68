#include "keyboard/PhysicalKey.h"

#include <algorithm>
#include <array>

namespace veltrane {

namespace {

constexpr std::array<std::uint32_t, 34> makeUsages()
{
    std::array<std::uint32_t, 34> usages = {0x39, 0xE6, 0xE7, 0xE5, 0xE4, 0xE2, 0xE3, 0xE1, 0xE0, 0x65};
    for (std::uint32_t i = 0; i < 12; ++i) {
        usages[10 + i] = 0x3A + i;  // F1 to F12
        usages[22 + i] = 0x68 + i;  // F13 to F24
    }
    return usages;
}

constexpr std::array<std::uint32_t, 34> kUsages = makeUsages();

}  // namespace

std::optional<std::size_t> PhysicalKey::kind(std::int64_t usage)
{
    const auto found = std::find_if(kUsages.begin(), kUsages.end(),
                                    [&](std::uint32_t known) { return std::int64_t{known} == usage; });
    return found == kUsages.end()
               ? std::nullopt
               : std::optional<std::size_t>(static_cast<std::size_t>(found - kUsages.begin()));
}

bool PhysicalKey::isNonModifier(std::int64_t usage)
{
    const auto found = kind(usage);
    return found && *found >= kFirstNonModifier;
}

}  // namespace veltrane
