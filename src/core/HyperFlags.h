#pragma once

#include "core/Defaults.h"
#include "platform/Event.h"

#include <atomic>
#include <cstdint>

namespace veltrane {

// The shared hyper state: the modifier set the hyper key adds, whether the hyper key or the
// slide gesture holds it, and the Command and Option keys held on keyboards not made by Apple.
// Written by the listener and the recognizer on their own threads, read by the event processor
// on the main queue for every event. The four switches share one atomic byte, so the processor
// reads all of them with a single relaxed load; each writer changes only its own bit.
class HyperFlags {
public:
    static constexpr platform::EventFlags kDefaultFlags = 0x1E0000;  // Command, Option, Control, Shift

    enum Bit : std::uint8_t {
        keyDownBit = 1,
        gestureDownBit = 2,
        optionDownBit = 4,
        commandDownBit = 8,
    };

    explicit HyperFlags(Defaults& defaults);

    platform::EventFlags flags() const { return flags_.load(std::memory_order_relaxed); }
    void setFlags(platform::EventFlags flags) { flags_.store(flags, std::memory_order_relaxed); }

    // All four switches at one moment, as Bit values.
    std::uint8_t state() const { return state_.load(std::memory_order_relaxed); }

    bool keyDown() const { return (state() & keyDownBit) != 0; }
    void setKeyDown(bool down) { set(keyDownBit, down); }
    bool gestureDown() const { return (state() & gestureDownBit) != 0; }
    void setGestureDown(bool down) { set(gestureDownBit, down); }
    bool optionDown() const { return (state() & optionDownBit) != 0; }
    void setOptionDown(bool down) { set(optionDownBit, down); }
    bool commandDown() const { return (state() & commandDownBit) != 0; }
    void setCommandDown(bool down) { set(commandDownBit, down); }

private:
    void set(Bit bit, bool on)
    {
        if (on) {
            state_.fetch_or(bit, std::memory_order_relaxed);
        } else {
            state_.fetch_and(static_cast<std::uint8_t>(~bit), std::memory_order_relaxed);
        }
    }

    std::atomic<platform::EventFlags> flags_;
    std::atomic<std::uint8_t> state_{0};
};

}  // namespace veltrane
