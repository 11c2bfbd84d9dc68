#pragma once

#include "Eventually.h"

#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

namespace veltrane::kernel {

using Milliseconds = std::chrono::milliseconds;

// Reads the events of one input device, for tests on a real kernel. It grabs the device, so that
// nothing else receives them while it reads.
class EvdevReader {
public:
    explicit EvdevReader(const std::string& node) : fd_(::open(node.c_str(), O_RDONLY | O_CLOEXEC))
    {
        if (fd_ < 0 || ::ioctl(fd_, EVIOCGRAB, 1) != 0) {
            throw std::runtime_error("cannot open and grab " + node);
        }
    }
    ~EvdevReader() { ::close(fd_); }
    EvdevReader(const EvdevReader&) = delete;
    EvdevReader& operator=(const EvdevReader&) = delete;

    // The next event, or nothing when none comes in time. Throws when the kernel dropped events
    // because this reader fell behind: a test must not mistake that for the program's loss.
    std::optional<input_event> next(Milliseconds timeout = Milliseconds(1000))
    {
        if (read_ == size_) {
            pollfd ready{fd_, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(timeout.count())) != 1) {
                return std::nullopt;
            }
            const auto length = ::read(fd_, buffer_.data(), sizeof buffer_);
            if (length <= 0) {
                return std::nullopt;
            }
            read_ = 0;
            size_ = static_cast<std::size_t>(length) / sizeof(input_event);
        }
        const input_event event = buffer_[read_++];
        if (event.type == EV_SYN && event.code == SYN_DROPPED) {
            throw std::runtime_error("the test fell behind reading its device: the kernel dropped events");
        }
        return event;
    }

private:
    int fd_;
    // Read in bulk, so that a fast writer does not overflow the kernel's small buffer.
    std::array<input_event, 256> buffer_{};
    std::size_t read_ = 0;
    std::size_t size_ = 0;
};

}  // namespace veltrane::kernel
