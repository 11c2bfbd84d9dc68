#pragma once

#include "platform/sim/Desktop.h"

#include <string>
#include <vector>

namespace veltrane::scenario {

// The scenario commands of trackpads and mice: the machine model, connecting devices, contact
// frames of the multitouch framework, gesture events of the event stream and pointer movement.
class TouchCommands {
public:
    using Words = std::vector<std::string>;

    explicit TouchCommands(sim::Desktop& desktop) : desktop_(desktop) {}

    void model(const Words& words);
    void trackpad(const Words& words);
    void mouse(const Words& words);
    void frame(const Words& words);
    void gesture(const Words& words);
    void pointer(const Words& words);

private:
    const sim::MultitouchBus::Device& frameworkDevice(const std::string& name) const;

    sim::Desktop& desktop_;
};

}  // namespace veltrane::scenario
