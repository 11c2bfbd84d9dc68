#pragma once

#include "platform/Event.h"
#include "platform/HidSystem.h"

#include <array>
#include <atomic>
#include <functional>

namespace veltrane::linuxbackend {

// The system's modifier state, as events carry it: the modifier keys held on all keyboards
// (after their mapping) and the caps lock lock. The key pipeline changes the held keys; anyone may
// read the flags. A change of the lock that the application asks for is handed on, so that the
// virtual keyboard makes the desktop's lock follow.
class ModifierState final : public platform::HidSystem {
public:
    using LockRequest = std::function<void(bool on)>;

    // Set once, before the application runs.
    void onLockRequest(LockRequest request) { request_ = std::move(request); }

    // The key pipeline: a modifier key goes down or up on some keyboard.
    void hold(platform::EventFlags modifier, bool down);
    // The key pipeline: caps lock pressed on a keyboard toggles the lock, as the desktop will.
    void toggleCapsLock() { capsLock_ = !capsLock_; }
    // The desktop told us its lock (the light it wrote to the virtual keyboard).
    void adoptCapsLock(bool on) { capsLock_ = on; }

    // The flags of the modifier keys held, without caps lock.
    platform::EventFlags heldFlags() const { return held_; }
    platform::EventFlags flags() const;

    bool capsLockState() const override { return capsLock_; }
    void setCapsLockState(bool on) override;

private:
    static constexpr int kBits = 64;

    std::array<int, kBits> counts_{};
    std::atomic<platform::EventFlags> held_ = 0;
    std::atomic<bool> capsLock_ = false;
    LockRequest request_;
};

}  // namespace veltrane::linuxbackend
