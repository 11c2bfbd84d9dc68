#pragma once

#include <cstdint>

namespace veltrane {

// Touch phases as the platform numbers them; 0 means the touch is suppressed.
namespace TouchPhase {
inline constexpr std::int64_t none = 0;
inline constexpr std::int64_t began = 1;
inline constexpr std::int64_t moved = 2;
inline constexpr std::int64_t stationary = 4;
inline constexpr std::int64_t ended = 8;
// The system took the touch away; the trackers pass it through as it is.
inline constexpr std::int64_t cancelled = 16;

// What one touch adds to a phase summary: began 0x1, moved or stationary 0x10, ended 0x100.
// So 0x021 reads "one began, two down", and a low byte of 0 means no finger is still down.
constexpr std::int64_t summaryWeight(std::int64_t phase)
{
    switch (phase) {
    case began:
        return 0x1;
    case moved:
    case stationary:
        return 0x10;
    case ended:
        return 0x100;
    default:
        return 0;
    }
}
}  // namespace TouchPhase

}  // namespace veltrane
