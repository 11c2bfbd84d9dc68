#include "platform/sim/SimClock.h"

#include "platform/sim/Scheduler.h"

namespace veltrane::sim {

namespace {

// 2026-01-01 00:00:00 UTC.
constexpr std::chrono::seconds kWallClockStart{1'767'225'600};

}  // namespace

double SimClock::now() const
{
    return scheduler_.nowSeconds();
}

std::chrono::system_clock::time_point SimClock::wallTime() const
{
    const std::chrono::nanoseconds elapsed{scheduler_.now()};
    return std::chrono::system_clock::time_point{
        std::chrono::duration_cast<std::chrono::system_clock::duration>(kWallClockStart + elapsed)};
}

}  // namespace veltrane::sim
