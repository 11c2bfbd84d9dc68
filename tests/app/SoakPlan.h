#pragma once

#include "SoakStep.h"

#include <cstddef>
#include <random>
#include <vector>

namespace veltrane::testing {

// Random steps of what a user and the desktop do, from a seed: mostly typing and hyper chords, now
// and then a change under the engine.
class SoakPlan {
public:
    explicit SoakPlan(unsigned seed) : random_(seed) {}

    // The next steps: one, or the several of a hyper chord.
    std::vector<SoakStep> next();
    // At least that many steps.
    std::vector<SoakStep> take(std::size_t count);

private:
    std::uint8_t pick(std::size_t count);

    std::mt19937 random_;
};

}  // namespace veltrane::testing
