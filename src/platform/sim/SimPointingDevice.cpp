#include "platform/sim/SimPointingDevice.h"

namespace veltrane::sim {

namespace {
constexpr std::uint32_t kGenericDesktopPage = 1;
constexpr std::uint32_t kMouseUsage = 2;
}  // namespace

bool SimPointingDevice::conformsTo(std::uint32_t usagePage, std::uint32_t usage) const
{
    return usagePage == kGenericDesktopPage && usage == kMouseUsage;
}

}  // namespace veltrane::sim
