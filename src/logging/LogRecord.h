#pragma once

#include "logging/Context.h"
#include "logging/Level.h"
#include "logging/Registry.h"

#include <atomic>
#include <string>
#include <string_view>

namespace logging {

class BaseDestination;

// One log call as the destinations that take it receive it, shared between their queues. It keeps
// the registry snapshot it was dispatched from, so its destinations outlive it; and it counts its
// references itself, so that a queued task is two plain pointers, which std::function stores
// without allocating.
class LogRecord {
public:
    struct Texts {
        std::string message;
        std::string thread;
        std::string_view file;
        std::string_view function;
    };

    // lasting: the file and function texts outlive every queue; otherwise they are copied.
    static LogRecord* make(Level level, Texts texts, bool lasting, int line, const Context& context,
                           Registry::Snapshot destinations);

    const std::string& message() const { return texts_.message; }
    void retain() { references_.fetch_add(1, std::memory_order_relaxed); }
    void release();

    // Runs the destination's emit; a failing destination must not take the caller or its queue down.
    void emitTo(BaseDestination& destination) const noexcept;

private:
    LogRecord(Level level, Texts texts, bool lasting, int line, const Context& context,
              Registry::Snapshot destinations);

    std::atomic<int> references_{1};
    Level level_;
    Texts texts_;
    std::string ownedFile_;
    std::string ownedFunction_;
    int line_;
    Context context_;
    Registry::Snapshot destinations_;
};

}  // namespace logging
