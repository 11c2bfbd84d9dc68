#pragma once

#include <linux/input.h>

#include <chrono>
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

    // The next event, or nothing when none comes in time.
    std::optional<input_event> next(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));

private:
    int fd_;
};

}  // namespace veltrane::kernel
