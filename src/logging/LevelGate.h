#pragma once

#include "logging/Level.h"

#include <atomic>
#include <cstdint>

namespace logging {

// The lowest level that any registered destination may take, kept so that a call below it costs one
// atomic load. Whatever may lower that level (a destination's minimum level, its filters, the
// registry) invalidates the gate, which opens it fully; the next call that gets through settles it
// again from the registry.
class LevelGate {
public:
    static bool admits(Level level)
    {
        return static_cast<std::uint64_t>(level) >= (word_.load(std::memory_order_relaxed) & lowestMask);
    }

    static void invalidate();

    // Read this before reading what the lowest level is computed from, and hand it to settle().
    static std::uint64_t observe() { return word_.load(std::memory_order_seq_cst); }
    static bool isSettled(std::uint64_t observed) { return (observed & unsettledBit) == 0; }
    // Sets the lowest level, unless the gate was invalidated after observed was read.
    static void settle(std::uint64_t observed, int lowest);

private:
    static constexpr std::uint64_t lowestMask = 0x7;
    static constexpr std::uint64_t unsettledBit = 0x8;
    static constexpr int generationShift = 4;
    // No level gets through while nothing is registered.
    static constexpr std::uint64_t closed = 5;

    // Generation, unsettled bit and lowest level in one word, so that settle() can tell whether it
    // raced with an invalidation.
    inline static std::atomic<std::uint64_t> word_{closed};
};

}  // namespace logging
