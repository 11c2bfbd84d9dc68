#pragma once

#include <chrono>

namespace veltrane::platform {

class Clock {
public:
    virtual ~Clock() = default;

    // Monotonic seconds since an arbitrary origin: for measuring durations and for "now".
    virtual double now() const = 0;
    // The wall-clock time, for stamping log lines.
    virtual std::chrono::system_clock::time_point wallTime() const = 0;
};

}  // namespace veltrane::platform
