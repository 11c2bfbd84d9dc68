#pragma once

#include "platform/EventTapService.h"

#include <memory>

namespace veltrane::sim {

class DesktopLock;
class SimQueue;
class Transcript;

// An event tap of one process; its callback runs on the queue that created it, while the window
// server waits without the desktop lock.
class SimEventTap final : public platform::EventTap {
public:
    SimEventTap(Transcript& transcript, DesktopLock& lock, platform::EventMask mask,
                platform::EventTapService::Callback callback, std::weak_ptr<SimQueue> queue);

    void enable(bool enabled) override;
    bool isEnabled() const override;
    void invalidate() override;

    // Hands the event to the callback when the tap is enabled and the mask holds its type.
    void handle(platform::Event& event);
    // The system switches the tap off (its callback took too long, or user input demanded it) and
    // tells the callback with that notice.
    void switchOff(platform::EventType notice);

private:
    void call(platform::EventType type, platform::Event& event);

    Transcript& transcript_;
    DesktopLock& lock_;
    platform::EventMask mask_;
    platform::EventTapService::Callback callback_;
    std::weak_ptr<SimQueue> queue_;
    bool enabled_ = false;
    bool invalidated_ = false;
};

}  // namespace veltrane::sim
