#include "logging/LevelGate.h"

namespace logging {

void LevelGate::invalidate()
{
    std::uint64_t observed = word_.load();
    std::uint64_t opened = 0;
    do {
        opened = (((observed >> generationShift) + 1) << generationShift) | unsettledBit;
    } while (!word_.compare_exchange_weak(observed, opened));
}

void LevelGate::settle(std::uint64_t observed, int lowest)
{
    if (isSettled(observed)) {
        return;
    }
    const std::uint64_t generation = observed & ~(unsettledBit | lowestMask);
    word_.compare_exchange_strong(observed, generation | static_cast<std::uint64_t>(lowest));
}

}  // namespace logging
