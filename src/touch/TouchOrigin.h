#pragma once

namespace veltrane {

// Where a touch came from: a gesture event of the event tap, or the multitouch framework.
enum class TouchOrigin {
    nsEvent,
    mtEvent,
};

}  // namespace veltrane
