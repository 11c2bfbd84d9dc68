#pragma once

#include "platform/EventTapService.h"
#include "platform/linux/road/LinuxEventTap.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace veltrane::linuxbackend {

// The program's event taps: every key and posted event passes them, newest first, on the main
// queue, before it is written to the virtual keyboard. The system never switches a tap off here.
class LinuxEventTapService final : public platform::EventTapService {
public:
    // Set once, before the application runs: told whenever wantedMask() may have changed.
    void onWantedMaskChange(std::function<void()> changed) { changed_ = std::move(changed); }

    std::shared_ptr<platform::EventTap> createTap(platform::EventMask mask, Callback callback) override;

    // On the main queue.
    void pass(platform::Event& event) const;
    // The event types some enabled tap wants to see: the others need not pass the taps.
    platform::EventMask wantedMask() const;

private:
    using Taps = std::vector<std::weak_ptr<LinuxEventTap>>;

    std::shared_ptr<const Taps> taps() const;
    void changed() const;

    std::function<void()> changed_;
    mutable std::mutex mutex_;
    // Replaced whole when a tap comes, so that an event walks the list without a copy, and a
    // callback may create a tap while the event passes.
    std::shared_ptr<const Taps> taps_ = std::make_shared<const Taps>();
};

}  // namespace veltrane::linuxbackend
