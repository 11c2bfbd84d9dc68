#pragma once

#include "touch/StringId.h"
#include "touch/TouchOrigin.h"
#include "touch/TouchPoint.h"

#include <cstdint>
#include <optional>

namespace veltrane {

// One finger in one frame, after the filters of the tracker that made it. Touches are equal when
// position, phase, device size, id and origin are equal (so a NaN position is never equal to
// anything); the absolute position, velocity, raw phase and stringId take no part.
struct Touch {
    TouchPoint pos;
    std::optional<TouchPoint> absPos;
    std::optional<TouchPoint> velocity;
    std::int64_t phase = 0;
    std::int64_t rawPhase = 0;
    float deviceWidth = 0.0f;
    float deviceHeight = 0.0f;
    std::int64_t id = 0;
    StringId stringId;
    TouchOrigin touchOrigin = TouchOrigin::nsEvent;

    bool operator==(const Touch& other) const
    {
        return pos.x == other.pos.x && pos.y == other.pos.y && phase == other.phase &&
               deviceHeight == other.deviceHeight && deviceWidth == other.deviceWidth && id == other.id &&
               touchOrigin == other.touchOrigin;
    }

    // The id, followed by ":" and the begin time in its shortest exact decimal form when that is
    // known ("3:12.5").
    static StringId makeStringId(std::int64_t id, std::optional<double> beginTime);
};

}  // namespace veltrane
