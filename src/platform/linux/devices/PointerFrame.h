#pragma once

#include <linux/input.h>

#include <bitset>
#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::linuxbackend {

// One report of a pointing device, its buttons and motions up to SYN_REPORT, kept whole so that
// it goes out to the virtual pointer as the device sent it.
class PointerFrame {
public:
    // The buttons held, from BTN_MOUSE on.
    using Buttons = std::bitset<BTN_TASK - BTN_MOUSE + 1>;

    PointerFrame() { events_.reserve(kUsualSize); }

    // Whether the event belongs to the pointer part of a device: its buttons and relative axes.
    static bool isPointerEvent(const input_event& event);
    static bool isButton(unsigned code) { return code >= BTN_MOUSE && code <= BTN_TASK; }
    // A button going down or up changes the buttons held; false for any other event (a repeat).
    static bool follow(Buttons& buttons, const input_event& event);
    // The report that lets these buttons go up, or nothing when there are none.
    static std::vector<input_event> release(const Buttons& buttons);

    // Adds a pointer event, or ends the report on SYN_REPORT: true when a report is complete.
    bool add(const input_event& event);
    std::span<const input_event> events() const { return events_; }
    // Starts the next report; the events of the last one are handed over.
    std::vector<input_event> take();

private:
    static constexpr std::size_t kUsualSize = 16;

    std::vector<input_event> events_;
};

}  // namespace veltrane::linuxbackend
