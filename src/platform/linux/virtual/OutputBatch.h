#pragma once

#include <linux/input.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrane::linuxbackend {

// The events for one write(2) to a virtual device, in a fixed buffer so that building them never
// allocates. The kernel stamps the time as it receives them.
class OutputBatch {
public:
    static constexpr std::size_t kCapacity = 48;

    // A key change followed by its SYN_REPORT: each change is a frame of its own, so the desktop
    // sees the changes one by one in this order.
    void key(std::uint16_t code, bool down);
    void add(std::uint16_t type, std::uint16_t code, std::int32_t value);

    std::span<const input_event> events() const { return {events_.data(), size_}; }
    std::size_t size() const { return size_; }
    std::size_t room() const { return kCapacity - size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }

private:
    std::array<input_event, kCapacity> events_{};
    std::size_t size_ = 0;
};

}  // namespace veltrane::linuxbackend
