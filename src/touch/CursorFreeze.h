#pragma once

#include "platform/EventMonitors.h"
#include "platform/EventPoster.h"
#include "touch/GlobalEventMonitor.h"
#include "touch/LocalEventMonitor.h"

#include <memory>
#include <mutex>
#include <optional>

namespace veltrane {

// Holds the pointer still while a slide is drawn: every click or move is answered by warping the
// pointer back to the still position. freeze, unfreeze and frozen are called by one thread at a
// time (the recognizer's); the monitors' handlers run on the main queue and share only the still
// position, under its lock. The handlers keep it alive themselves: the platform may still run one
// after unfreeze, or after this object is gone, and it then finds no position and warps nothing.
class CursorFreeze {
public:
    // Left mouse down, right mouse down and mouse moved.
    static constexpr platform::EventMask kMask = 0x2A;

    CursorFreeze(platform::EventMonitors& monitors, platform::EventPoster& poster);
    ~CursorFreeze();
    CursorFreeze(const CursorFreeze&) = delete;
    CursorFreeze& operator=(const CursorFreeze&) = delete;

    // Holds the pointer at that point, or, without one, where the first watched event finds it.
    // While frozen it only replaces the still position.
    void freeze(std::optional<platform::Point> at);
    void unfreeze();
    bool frozen() const { return frozen_; }

private:
    struct StillPosition {
        std::mutex mutex;
        std::optional<platform::Point> point;
    };

    static void hold(StillPosition& still, platform::EventPoster& poster, const platform::Event& event);

    platform::EventMonitors& monitors_;
    platform::EventPoster& poster_;
    std::shared_ptr<StillPosition> stillPosition_ = std::make_shared<StillPosition>();
    bool frozen_ = false;
    std::unique_ptr<GlobalEventMonitor> globalEventMonitor_;
    std::unique_ptr<LocalEventMonitor> localEventMonitor_;
};

}  // namespace veltrane
