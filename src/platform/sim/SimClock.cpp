#include "platform/sim/SimClock.h"

#include "platform/sim/Scheduler.h"

namespace veltrane::sim {

namespace {

// 2026-01-01 00:00:00 UTC.
constexpr std::chrono::seconds kWallClockStart{1'767'225'600};

}  // namespace

std::chrono::nanoseconds SimClock::elapsed() const
{
    if (realStart_) {
        return std::chrono::steady_clock::now() - *realStart_;
    }
    return std::chrono::nanoseconds{scheduler_.now()};
}

double SimClock::now() const
{
    return realStart_ ? std::chrono::duration<double>(elapsed()).count() : scheduler_.nowSeconds();
}

std::chrono::system_clock::time_point SimClock::wallTime() const
{
    return std::chrono::system_clock::time_point{
        std::chrono::duration_cast<std::chrono::system_clock::duration>(kWallClockStart + elapsed())};
}

}  // namespace veltrane::sim
