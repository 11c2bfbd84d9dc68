#include "platform/linux/virtual/VirtualOutput.h"

#include <cerrno>

namespace veltrane::linuxbackend {

namespace {

constexpr auto kFirstRetry = std::chrono::milliseconds(10);
constexpr auto kLongestRetry = std::chrono::seconds(1);

}  // namespace

VirtualOutput::VirtualOutput(std::unique_ptr<VirtualDevice> device, const std::string& name, Reactor& reactor,
                             Backoff::Log log)
    : device_(std::move(device)), what_("write to " + name), reactor_(reactor), log_(std::move(log)),
      backoff_(what_, kFirstRetry, kLongestRetry)
{
}

void VirtualOutput::write(std::span<const input_event> events)
{
    if (!waiting_.empty()) {
        waiting_.insert(waiting_.end(), events.begin(), events.end());
        return;
    }
    const auto written = device_->write(events);
    if (written < events.size()) {
        const int error = errno;
        waiting_.assign(events.begin() + static_cast<std::ptrdiff_t>(written), events.end());
        retryLater(error);
    }
}

void VirtualOutput::retry()
{
    const auto written = device_->write(waiting_);
    const int error = errno;
    waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(written));
    if (waiting_.empty()) {
        backoff_.succeeded(log_);
    } else {
        retryLater(error);
    }
}

void VirtualOutput::retryLater(int error)
{
    retry_ = reactor_.after(what_, backoff_.failed(error, log_), [this] { retry(); });
}

}  // namespace veltrane::linuxbackend
