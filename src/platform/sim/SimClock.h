#pragma once

#include "platform/Clock.h"

namespace veltrane::sim {

class Scheduler;

// Virtual time. The wall clock starts at a fixed date, so log stamps repeat from run to run.
class SimClock final : public platform::Clock {
public:
    explicit SimClock(const Scheduler& scheduler) : scheduler_(scheduler) {}

    double now() const override;
    std::chrono::system_clock::time_point wallTime() const override;

private:
    const Scheduler& scheduler_;
};

}  // namespace veltrane::sim
