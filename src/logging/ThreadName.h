#pragma once

#include <string_view>

namespace logging {

// The name a log line gives the thread that made the call: empty on the main thread, the label of
// the serial queue the caller runs on, otherwise a text that stays the same for the thread's life.
class ThreadName {
public:
    // Lasts as long as the calling thread, or the serial queue it runs on.
    static std::string_view current();
};

}  // namespace logging
