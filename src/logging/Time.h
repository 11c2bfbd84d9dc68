#pragma once

#include <chrono>
#include <functional>

namespace logging {

using TimePoint = std::chrono::system_clock::time_point;
// Where a destination reads the current time; tests fix it so that dates and uptimes repeat.
using TimeSource = std::function<TimePoint()>;

}  // namespace logging
