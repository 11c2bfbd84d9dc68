#include "core/KeyPresser.h"

#include <optional>

namespace veltrane {

platform::EventSource& KeyPresser::sharedEventSource()
{
    std::call_once(sourceMade_,
                   [this] { source_ = poster_.createEventSource(platform::EventSourceState::privateState); });
    return *source_;
}

void KeyPresser::press(std::uint16_t keyCode, platform::EventFlags flags, bool skipFlags, unsigned phases,
                       bool forceFlags)
{
    std::optional<platform::Event> keyDown;
    std::optional<platform::Event> keyUp;
    if ((phases & down) != 0) {
        keyDown = sharedEventSource().createKeyboardEvent(keyCode, true);
    }
    if ((phases & up) != 0) {
        keyUp = sharedEventSource().createKeyboardEvent(keyCode, false);
    }
    for (auto* event : {&keyDown, &keyUp}) {
        if (*event && !skipFlags && (flags != 0 || forceFlags)) {
            (*event)->flags = flags;
        }
    }
    for (const auto* event : {&keyDown, &keyUp}) {
        if (*event) {
            poster_.post(**event);
        }
    }
}

void KeyPresser::post(std::uint16_t keyCode, bool keyDown)
{
    if (const auto event = sharedEventSource().createKeyboardEvent(keyCode, keyDown)) {
        poster_.post(*event);
    }
}

}  // namespace veltrane
