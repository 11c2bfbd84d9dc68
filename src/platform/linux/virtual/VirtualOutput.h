#pragma once

#include "platform/linux/reactor/Backoff.h"
#include "platform/linux/reactor/Reactor.h"
#include "platform/linux/virtual/VirtualDevice.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// What goes out to a virtual device, in order, whatever the kernel does. A write it refuses waits,
// with everything written after it, and is tried again on the reactor, less and less often: a lost
// release would leave a key down for the desktop, which repeats it for ever. The failure is logged
// once, and so is the end of it. A kernel refuses a uinput write for a moment at most; while it
// does, a few bytes wait for each key typed. Belongs to the reactor's thread.
class VirtualOutput {
public:
    // name: as the log calls the device ("the virtual keyboard").
    VirtualOutput(std::unique_ptr<VirtualDevice> device, const std::string& name, Reactor& reactor,
                  Backoff::Log log);

    VirtualDevice& device() const { return *device_; }
    void write(std::span<const input_event> events);

private:
    void retry();
    // After a write the kernel refused with that errno value.
    void retryLater(int error);

    const std::unique_ptr<VirtualDevice> device_;
    const std::string what_;
    Reactor& reactor_;
    const Backoff::Log log_;
    Backoff backoff_;
    std::vector<input_event> waiting_;
    Reactor::Source retry_;
};

}  // namespace veltrane::linuxbackend
