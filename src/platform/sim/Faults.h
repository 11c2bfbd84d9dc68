#pragma once

#include "platform/Event.h"
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
    // The next event that enters the stream switches every enabled tap off with this notice
    // (tapDisabledByTimeout or tapDisabledByUserInput): each is told so, and the event passes
    // them unchanged.
    std::optional<platform::EventType> tapNotice;
    // The next listing of the HID services fails.
    bool noServices = false;
    // The next key mapping written to these keyboards is refused.
    std::set<std::string, std::less<>> refusingKeyboards;
    // The next opening of the launcher helper fails.
    bool helperOpen = false;
    // The next this many login item changes fail.
    int loginItemFailures = 0;
    // The next listing of the multitouch devices fails.
    bool multitouchList = false;
    // The next start of a multitouch device fails.
    bool multitouchStart = false;
};

}  // namespace veltrane::sim
