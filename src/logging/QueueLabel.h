#pragma once

#include <string>

namespace logging {

// Labels of destination queues: "Logging-queue-" and a fresh UUID in its 36-character text form.
class QueueLabel {
public:
    static std::string make();
};

}  // namespace logging
