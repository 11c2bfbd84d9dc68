#pragma once

#include <linux/input.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace veltrane::kernel {

// Reads the events of one input device, for tests on a real kernel. It grabs the device, so that
// nothing else receives them while it reads.
class EvdevReader {
public:
    explicit EvdevReader(const std::string& node);
    ~EvdevReader();
    EvdevReader(const EvdevReader&) = delete;
    EvdevReader& operator=(const EvdevReader&) = delete;

    // The next event, or nothing when none comes in time. Throws when the kernel dropped events
    // because this reader fell behind: a test must not mistake that for the program's loss.
    std::optional<input_event> next(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));

private:
    int fd_;
    // Read in bulk, so that a fast writer does not overflow the kernel's small buffer.
    std::array<input_event, 256> buffer_{};
    std::size_t read_ = 0;
    std::size_t size_ = 0;
};

}  // namespace veltrane::kernel
