#pragma once

#include <string>

namespace logging {

// The name a log line gives the thread that made the call: empty on the main thread, the label of
// the serial queue the caller runs on, otherwise a text that stays the same for the thread's life.
class ThreadName {
public:
    static std::string current();
};

}  // namespace logging
