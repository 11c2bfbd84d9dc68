#pragma once

#include "platform/EventTapService.h"

#include <atomic>

namespace veltrane::linuxbackend {

// A filter of the program's event stream: it sees the events of its mask while enabled.
class LinuxEventTap final : public platform::EventTap {
public:
    LinuxEventTap(platform::EventMask mask, platform::EventTapService::Callback callback)
        : mask_(mask), callback_(std::move(callback))
    {
    }

    void enable(bool enabled) override { enabled_ = enabled && !invalidated_; }
    bool isEnabled() const override { return enabled_; }
    void invalidate() override;

    // On the main queue: lets the callback look at the event and change it.
    void handle(platform::Event& event) const;

private:
    const platform::EventMask mask_;
    const platform::EventTapService::Callback callback_;
    std::atomic<bool> enabled_ = false;
    std::atomic<bool> invalidated_ = false;
};

}  // namespace veltrane::linuxbackend
