#pragma once

#include "core/Defaults.h"
#include "platform/MTTouch.h"
#include "platform/Multitouch.h"
#include "platform/SystemLog.h"
#include "touch/DevicesModel.h"
#include "touch/PathSet.h"
#include "touch/StringIdCache.h"
#include "touch/TouchBeginTimes.h"
#include "touch/TouchEvent.h"

#include <cstdint>
#include <optional>
#include <span>

namespace veltrane {

// Turns the contact frames of the multitouch framework into touch events. It gives each contact a
// phase from its path stage and drops the contacts that are not working fingers: a thumb resting
// on the bottom or top edge, a palm on the side of a built-in trackpad, a wrist on the bottom
// edge, a touch too light or too large. Its state spans the frames of every device it serves.
// Called by one thread at a time; it takes no lock.
class MTTouchTracker {
public:
    enum class RestingThumbState {
        begin,
        end,
        resting,
    };

    struct Thumb {
        std::int32_t id = 0;
        RestingThumbState state = RestingThumbState::begin;
    };

    // Reads the settings now; later changes apply to the next tracker.
    MTTouchTracker(Defaults& defaults, DevicesModel& devicesModel, platform::Multitouch& multitouch,
                   platform::SystemLog& systemLog);

    // One frame of one device; nothing when the device is absent or no contact survives.
    std::optional<TouchEvent> processFrame(platform::MTDevice* device,
                                           std::span<const platform::MTTouch> contacts, double timestamp);

private:
    struct SurfaceSize {
        float width = 0.0f;
        float height = 0.0f;
    };

    std::int64_t readDeviceId(platform::MTDevice* device);
    SurfaceSize readSurfaceSize(platform::MTDevice* device);

    void updateRestingThumb(std::span<const platform::MTTouch> contacts);
    void findRestingThumb(std::span<const platform::MTTouch> contacts);
    void followRestingThumb(std::span<const platform::MTTouch> contacts);

    std::optional<Touch> makeTouch(const platform::MTTouch& contact, std::optional<DeviceType> type,
                                   SurfaceSize size, std::span<const platform::MTTouch> contacts);
    std::int64_t filteredPhase(const platform::MTTouch& contact, std::int64_t rawPhase,
                               std::optional<DeviceType> type, std::span<const platform::MTTouch> contacts);
    std::int64_t touchPhase(const platform::MTTouch& contact);
    std::int64_t applyRestingThumb(const platform::MTTouch& contact, std::int64_t phase) const;
    std::int64_t filterLightTouch(const platform::MTTouch& contact, std::int64_t phase);
    std::int64_t filterLargeTouch(const platform::MTTouch& contact, std::int64_t phase);
    bool isWristTouch(std::int64_t phase, std::int32_t pathIndex, float y);

    const bool disableThumbRejection_;
    const bool disablePalmRejection_;
    const float lightTouchFilter_;
    const float largeTouchMinorAxis_;
    const float largeTouchMajorAxis_;
    DevicesModel& devicesModel_;
    platform::Multitouch& multitouch_;
    platform::SystemLog& systemLog_;

    TouchBeginTimes touchBeginTimestamps_;
    StringIdCache stringIds_;
    PathSet wristTouches_;
    PathSet tooLightTouches_;
    PathSet largeTouches_;
    PathSet startedTouches_;
    PathSet endedTouches_;
    std::optional<Thumb> restingThumb_;
    PathSet restingPalm_;
    PathSet restingTopThumb_;
};

}  // namespace veltrane
