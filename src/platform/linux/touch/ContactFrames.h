#pragma once

#include "platform/MTTouch.h"
#include "platform/linux/touch/TouchpadSurface.h"

#include <linux/input.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

struct libevdev;

namespace veltrane::linuxbackend {

// Turns the multitouch events of one touchpad (slots, tracking ids, SYN_REPORT) into the contact
// frames that the multitouch framework hands to its callback, one slot per path. Fed one event at a
// time, in order; every buffer is sized when it is made, so a frame allocates nothing.
class ContactFrames {
public:
    // The frame's contacts are valid only during the call.
    using Sink = std::function<void(std::span<const platform::MTTouch> contacts, double timestamp)>;

    ContactFrames(const TouchpadSurface& surface, Sink sink);

    struct SlotValues {
        std::int32_t trackingId = -1;
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t major = 0;
        std::int32_t minor = 0;
        std::int32_t pressure = 0;
    };

    // A contact already on the pad when it was opened: it shows as touching, never as a new touch,
    // since nobody knows when it began.
    void seed(int slot, const SlotValues& values);
    // Every slot, and the slot that the kernel's next events address, as libevdev holds them.
    void seed(const libevdev* device);
    void feed(const input_event& event);

private:
    // Valued as the path stages the frames show: making contact, touching, breaking contact.
    enum class Life : platform::MTPathStage { absent = 0, beginning = 3, touching = 4, lifting = 5 };

    struct Contact {
        SlotValues values;
        Life life = Life::absent;
        // Where the contact was in the last frame that showed it, and when: its velocity.
        std::optional<platform::MTPoint> lastPosition;
        double lastTime = 0.0;
    };

    struct Slot {
        Contact contact;
        // The contact that a new one took the slot from since the last report: it lifts in a frame
        // of its own, before the new one begins.
        std::optional<Contact> replaced;
    };

    Slot* currentSlot();
    void setValue(Slot& slot, std::uint16_t code, std::int32_t value);
    static void track(Slot& slot, std::int32_t trackingId);
    static void lift(Contact& contact);
    void report(double time);
    void deliver(double time);
    void remember(double time);
    void settle();
    platform::MTTouch touch(int slot, const Contact& contact, double time) const;
    platform::MTVector normalised(const Contact& contact, double time) const;
    platform::MTVector absolute(const platform::MTVector& normalised) const;
    float strength(std::int32_t pressure) const;
    float millimetres(std::int32_t units) const;

    TouchpadSurface surface_;
    double widthMillimetres_;
    double heightMillimetres_;
    double unitsPerMillimetre_;
    Sink sink_;
    std::vector<Slot> slots_;
    std::vector<platform::MTTouch> frame_;
    // The slot that the next values belong to; out of range when the kernel named one we do not keep.
    int current_ = 0;
    // Wraps rather than overflows on a pad left on for months.
    std::uint32_t frameNumber_ = 0;
};

}  // namespace veltrane::linuxbackend
