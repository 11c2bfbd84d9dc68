#pragma once

namespace logging {

// Levels compare by their raw values; a raw value of 5 or more is no level.
enum class Level : int { verbose = 0, debug = 1, info = 2, warning = 3, error = 4 };

}  // namespace logging
