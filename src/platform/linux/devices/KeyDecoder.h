#pragma once

#include <linux/input.h>

#include <cstdint>

namespace veltrane::linuxbackend {

// Turns the event stream of one device into key changes, each with the HID usage of its key: the
// engine works in usages, the kernel in its own key codes. Fed one event at a time, in order; it
// keeps only the scan code announced for the next key.
class KeyDecoder {
public:
    struct Change {
        enum class Kind : std::uint8_t {
            // The event changes no key (axes, LEDs, the end of a frame).
            none,
            down,
            up,
            // Auto-repeat of a held key, which the virtual keyboard makes again on its own.
            repeat,
            // The kernel's buffer overflowed and events were lost: the caller reads the keys'
            // state again and sends what changed.
            dropped,
        };

        Kind kind = Kind::none;
        std::uint16_t linuxCode = 0;
        // Both zero for a key whose usage nothing tells: it still reaches the engine.
        std::uint32_t usagePage = 0;
        std::uint32_t usage = 0;

        bool operator==(const Change&) const = default;
    };

    // The bus decides whether the device's scan codes are HID usages.
    explicit KeyDecoder(std::uint16_t bus);

    Change feed(const input_event& event);

private:
    Change decodeKey(const input_event& event);

    bool scansAreUsages_;
    // The usage of the next key change, as page << 16 | usage; zero when none is pending.
    std::uint32_t pendingScan_ = 0;
};

}  // namespace veltrane::linuxbackend
