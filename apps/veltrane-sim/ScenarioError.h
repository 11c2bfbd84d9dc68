#pragma once

#include <stdexcept>

namespace veltrane::scenario {

// A scenario line that cannot be run; the message says what is wrong with it.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace veltrane::scenario
