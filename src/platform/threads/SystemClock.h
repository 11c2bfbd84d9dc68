#pragma once

#include "platform/Clock.h"

namespace veltrane::threads {

// The machine's clocks: the monotonic one for durations, the calendar one for log stamps.
class SystemClock final : public platform::Clock {
public:
    double now() const override
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    std::chrono::system_clock::time_point wallTime() const override
    {
        return std::chrono::system_clock::now();
    }
};

}  // namespace veltrane::threads
