#pragma once

#include "platform/EventTapService.h"

#include <atomic>
#include <functional>

namespace veltrane::linuxbackend {

// A filter of the program's event stream: it sees the events of its mask while enabled. Whoever
// made it hears when what it wants to see changes (enabled, disabled, invalidated or released).
class LinuxEventTap final : public platform::EventTap {
public:
    LinuxEventTap(platform::EventMask mask, platform::EventTapService::Callback callback,
                  std::function<void()> changed)
        : mask_(mask), callback_(std::move(callback)), changed_(std::move(changed))
    {
    }
    ~LinuxEventTap() override { changed_(); }
    LinuxEventTap(const LinuxEventTap&) = delete;
    LinuxEventTap& operator=(const LinuxEventTap&) = delete;

    void enable(bool enabled) override;
    bool isEnabled() const override { return enabled_; }
    void invalidate() override;

    // The types it wants to see now: its mask while enabled, nothing otherwise.
    platform::EventMask wanted() const { return enabled_ ? mask_ : 0; }
    // On the main queue: lets the callback look at the event and change it.
    void handle(platform::Event& event) const;

private:
    const platform::EventMask mask_;
    const platform::EventTapService::Callback callback_;
    const std::function<void()> changed_;
    std::atomic<bool> enabled_ = false;
    std::atomic<bool> invalidated_ = false;
};

}  // namespace veltrane::linuxbackend
