#pragma once

namespace veltrane {

// A point on a touch surface, normalised (0 to 1 per axis, origin bottom left) or in the
// framework's absolute units, depending on the field that holds it.
struct TouchPoint {
    float x = 0.0f;
    float y = 0.0f;

    bool operator==(const TouchPoint&) const = default;
};

}  // namespace veltrane
