#pragma once

#include "SoakStep.h"
#include "app/SharedInstances.h"
#include "platform/sim/Desktop.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace veltrane::testing {

// Plays soak steps on a simulated desktop whose application runs, keeping track of the keys held
// and the keyboards plugged in. Steps that make no sense at the moment (a key of a keyboard when
// none is plugged in) are passed over.
class SoakDriver {
public:
    // How a wait step passes: the virtual clock advances, or real time goes by.
    using Wait = std::function<void(double seconds)>;

    // The application's shared instances, once it runs.
    using Shared = std::function<SharedInstances&()>;

    SoakDriver(sim::Desktop& desktop, Shared shared, Wait wait);

    // Before the application starts: the hyper key, the quick press, the swap for other makers'
    // keyboards and the icon on, and a keyboard plugged in.
    void prepare();
    void play(const SoakStep& step);
    // Lets go of every key still held, as a user would.
    void releaseAll();
    const std::vector<std::string>& keyboards() const { return keyboards_; }
    // The keys held on a keyboard plugged in.
    const std::set<std::string>& held(const std::string& keyboard) { return held_[keyboard]; }
    // When, in seconds of the desktop's clock, a keyboard plugged in.
    double pluggedAt(const std::string& keyboard) { return pluggedAt_[keyboard]; }
    int clicks() const { return clicks_; }

private:
    void key(const std::string& keyboard, const std::string& name);
    void changeSetting(const SoakStep& step);
    void plug();
    // Pulled out with its keys as they are: they never come up.
    void unplug(const std::string& keyboard);

    sim::Desktop& desktop_;
    Shared shared_;
    Wait wait_;
    std::vector<std::string> keyboards_;
    std::map<std::string, std::set<std::string>> held_;
    std::map<std::string, double> pluggedAt_;
    int plugged_ = 0;
    int clicks_ = 0;
};

}  // namespace veltrane::testing
