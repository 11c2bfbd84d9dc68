#pragma once

#include "platform/HidManager.h"

#include <optional>
#include <set>
#include <string>

namespace veltrane::sim {

// Faults of the simulated platform, each armed for the next time it can strike and spent then.
struct Faults {
    // The next HID manager open returns this code.
    std::optional<platform::HidResult> hidOpen;
    // The next key's input values carry this result code.
    std::optional<platform::HidResult> hidValue;
    // The next event tap cannot be created.
    bool tapCreate = false;
    // The next event that enters the stream times out every enabled tap: each is switched off and
    // told so, and the event passes them unchanged.
    bool tapTimeout = false;
    // The next listing of the HID services fails.
    bool noServices = false;
    // The next key mapping written to these keyboards is refused.
    std::set<std::string, std::less<>> refusingKeyboards;
};

}  // namespace veltrane::sim
