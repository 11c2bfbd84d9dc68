#pragma once

#include "touch/TouchEvent.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace veltrane {

// A tracker's begin times. Every frame hands out a snapshot of them, but they change only when a
// touch begins or ends, so the snapshot is shared and copied only when written while shared.
class TouchBeginTimes {
public:
    std::optional<double> find(std::int64_t id) const;
    void set(std::int64_t id, double timestamp);
    void erase(std::int64_t id);
    void clear();

    std::shared_ptr<const TouchBeginTimestamps> snapshot() const { return times_; }

private:
    TouchBeginTimestamps& writable();

    std::shared_ptr<TouchBeginTimestamps> times_ = std::make_shared<TouchBeginTimestamps>();
};

}  // namespace veltrane
