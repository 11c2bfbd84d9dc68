#pragma once

#include "platform/Clock.h"

#include <optional>

namespace veltrane::sim {

class Scheduler;

// The desktop's time: the scheduler's virtual time, or, when the application runs on real threads,
// the time elapsed since the desktop was made. The wall clock starts at a fixed date, so log
// stamps repeat from run to run on virtual time.
class SimClock final : public platform::Clock {
public:
    SimClock(const Scheduler& scheduler, bool realTime)
        : scheduler_(scheduler),
          realStart_(realTime ? std::optional(std::chrono::steady_clock::now()) : std::nullopt)
    {
    }

    double now() const override;
    std::chrono::system_clock::time_point wallTime() const override;

private:
    std::chrono::nanoseconds elapsed() const;

    const Scheduler& scheduler_;
    const std::optional<std::chrono::steady_clock::time_point> realStart_;
};

}  // namespace veltrane::sim
