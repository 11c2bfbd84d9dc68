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
    using Warp = std::function<void(platform::Point position)>;

    explicit LinuxEventPoster(const ModifierState& modifiers) : modifiers_(modifiers) {}

    // Set once, before the application runs: where posted events go.
    void onPost(Sink sink) { sink_ = std::move(sink); }
    // Set once, before the application runs, where the display server lets a program move the
    // pointer: how it moves. Without it the pointer stays where it is.
    void onWarp(Warp warp) { warp_ = std::move(warp); }

    std::shared_ptr<platform::EventSource> createEventSource(platform::EventSourceState state) override;
    void post(const platform::Event& event) override;
    platform::EventFlags modifierFlags() const override { return modifiers_.flags(); }
    void warpMouseCursorPosition(platform::Point position) override;

private:
    const ModifierState& modifiers_;
    Sink sink_;
    Warp warp_;
};

}  // namespace veltrane::linuxbackend
