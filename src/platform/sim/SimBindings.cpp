#include "platform/sim/SimBindings.h"

#include "platform/sim/Transcript.h"

namespace veltrane::sim {

void SimBindings::didChangeValue(std::string_view object, std::string_view key, bool value)
{
    if (object != "DevicesModel") {
        return;
    }
    const std::lock_guard lock(mutex_);
    const std::string name(key);
    // The flags start false; a write that changes nothing shows nothing.
    if (this->value(name) == value) {
        return;
    }
    deviceFlags_[name] = value;
    const auto text = [this](const char* flag) { return this->value(flag) ? "true" : "false"; };
    transcript_.record("devices", std::string("trackpad=") + text("trackpadConnected") + " force=" +
                                      text("forceTouchConnected") + " mouse=" + text("magicMouseConnected"));
}

bool SimBindings::value(const std::string& key) const
{
    const auto found = deviceFlags_.find(key);
    return found != deviceFlags_.end() && found->second;
}

}  // namespace veltrane::sim
