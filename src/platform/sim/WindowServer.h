#pragma once

#include "platform/EventPoster.h"
#include "platform/HidSystem.h"
#include "platform/sim/SimKeyboard.h"

#include <map>
#include <memory>
#include <vector>

namespace veltrane::sim {

class DesktopLock;
struct Faults;
class SimEventMonitor;
class SimEventTap;
class SimQueue;
class Transcript;

// The session's event stream. Keys of the keyboards (after their mapping), device events and
// synthetic events enter it in the order they come; each event passes the event taps, newest
// first, then the event monitors, and is then delivered to applications. It also keeps the
// system's modifier state (the modifier keys held down, the caps lock lock state) and the pointer.
// Events pass on the window server's own queue, under the desktop lock, which it lets go while a
// tap or a monitor of the application looks at an event.
class WindowServer final : public platform::EventPoster, public platform::HidSystem {
public:
    WindowServer(std::shared_ptr<SimQueue> queue, DesktopLock& lock, Transcript& transcript, Faults& faults);

    // The queue the events pass on: on real threads, a sync on it returns once the events that
    // entered before have been delivered.
    SimQueue& queue() const { return *queue_; }

    void keyFromDevice(HidKey key, bool down);
    void eventFromDevice(platform::Event event);
    void addTap(const std::shared_ptr<SimEventTap>& tap);
    void addMonitor(const std::shared_ptr<SimEventMonitor>& monitor);
    // The pointer moves there: a mouse-moved event enters the stream.
    void movePointer(platform::Point location);
    platform::Point pointerLocation() const;

    std::shared_ptr<platform::EventSource> createEventSource(platform::EventSourceState state) override;
    void post(const platform::Event& event) override;
    platform::EventFlags modifierFlags() const override;
    void warpMouseCursorPosition(platform::Point position) override;

    bool capsLockState() const override;
    void setCapsLockState(bool on) override;

private:
    void enter(platform::Event event);
    void pass(platform::Event event);
    // False when a monitor swallowed the event.
    bool monitor(platform::Event& event);
    void holdModifier(platform::EventFlags modifier, bool down);

    std::shared_ptr<SimQueue> queue_;
    DesktopLock& lock_;
    Transcript& transcript_;
    Faults& faults_;
    std::vector<std::weak_ptr<SimEventTap>> taps_;
    std::vector<std::weak_ptr<SimEventMonitor>> monitors_;
    platform::Point pointer_;
    std::map<platform::EventFlags, int> heldModifiers_;
    bool capsLock_ = false;
};

}  // namespace veltrane::sim
