#pragma once

#include "platform/linux/devices/InputDevice.h"

#include <linux/input.h>
#include <poll.h>

#include <chrono>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>

namespace veltrane::kernel {

using Milliseconds = std::chrono::milliseconds;

// Reads the events of one input device, for tests on a real kernel, through the program's own reader
// of devices. It grabs the device, so that nothing else receives them while it reads.
class EvdevReader {
public:
    explicit EvdevReader(const std::string& node) : device_(node)
    {
        device_.grabWhenIdle();
        if (!device_.grabbed()) {
            throw std::runtime_error("cannot grab " + node);
        }
    }

    // The next event, or nothing when none comes in time. Throws when the kernel dropped events
    // because this reader fell behind: a test must not mistake that for the program's loss.
    std::optional<input_event> next(Milliseconds timeout = Milliseconds(1000))
    {
        pollfd ready{device_.fd(), POLLIN, 0};
        if (events_.empty() && ::poll(&ready, 1, static_cast<int>(timeout.count())) == 1) {
            device_.read([this](const input_event& event) {
                if (event.type == EV_SYN && event.code == SYN_DROPPED) {
                    throw std::runtime_error(
                        "the test fell behind reading its device: the kernel dropped events");
                }
                events_.push_back(event);
            });
        }
        if (events_.empty()) {
            return std::nullopt;
        }
        const input_event event = events_.front();
        events_.pop_front();
        return event;
    }

private:
    linuxbackend::InputDevice device_;
    std::deque<input_event> events_;
};

}  // namespace veltrane::kernel
