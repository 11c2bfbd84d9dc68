#pragma once

#include "platform/EventPoster.h"
#include "platform/linux/road/ModifierState.h"

#include <functional>

namespace veltrane::linuxbackend {

// Synthetic events of the application: each joins the keys of the keyboards on the key road,
// passes the event taps like them and goes out through the virtual keyboard.
class LinuxEventPoster final : public platform::EventPoster {
public:
    using Sink = std::function<void(const platform::Event& event)>;

    explicit LinuxEventPoster(const ModifierState& modifiers) : modifiers_(modifiers) {}

    // Set once, before the application runs: where posted events go.
    void onPost(Sink sink) { sink_ = std::move(sink); }

    std::shared_ptr<platform::EventSource> createEventSource(platform::EventSourceState state) override;
    void post(const platform::Event& event) override;
    platform::EventFlags modifierFlags() const override { return modifiers_.flags(); }
    // Linux desktops let no program move the pointer without an event; nothing asks for it here.
    void warpMouseCursorPosition(platform::Point) override {}

private:
    const ModifierState& modifiers_;
    Sink sink_;
};

}  // namespace veltrane::linuxbackend
