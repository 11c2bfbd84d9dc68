#pragma once

#include "platform/linux/logind/LogindMonitor.h"
#include "platform/linux/reactor/FileDescriptor.h"

#include <systemd/sd-bus.h>

#include <optional>
#include <string>

namespace veltrane::linuxbackend {

// Holds the machine's sleep back while the program lets go of what it holds: logind waits for the
// holder of a delay to close it, up to its own limit, before sleeping.
class SleepInhibitor {
public:
    // Subscribes to the sleep signal and asks for the first delay; throws std::runtime_error when it
    // cannot subscribe. The callbacks must outlive it.
    SleepInhibitor(sd_bus* bus, const LogindMonitor::Callbacks& callbacks);

    // Without the bus no sleep is heard of: a delay still held would only hold each one up.
    void letGo();
    // Why the sleep is not held back, or empty.
    const std::string& problem() const { return problem_; }

private:
    void onPrepareForSleep(sd_bus_message* signal);
    void onInhibitReply(sd_bus_message* reply);
    void askForDelay();
    void refused(const std::string& reason);

    sd_bus* bus_;
    const LogindMonitor::Callbacks& callbacks_;
    std::optional<FileDescriptor> delay_;
    bool sleeping_ = false;
    std::string problem_;
};

}  // namespace veltrane::linuxbackend
