#pragma once

#include <string>

namespace veltrane::sim {

// A text in double quotes with JSON escapes, so that a line break in it stays on the
// transcript's line.
std::string quoted(const std::string& text);

}  // namespace veltrane::sim
