#pragma once

#include "logging/BaseDestination.h"
#include "platform/threads/SerialQueue.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace logging::testing {

// A destination that keeps the texts it produced, for tests to read once its queue is drained.
class RecordingDestination : public BaseDestination {
public:
    std::optional<std::string> emit(Level level, const std::string& message, const std::string& thread,
                                    const std::string& file, const std::string& function, int line,
                                    const Context& context) override
    {
        auto text = BaseDestination::emit(level, message, thread, file, function, line, context);
        const std::lock_guard lock(mutex_);
        lines_.push_back(text.value_or("<nothing>"));
        return text;
    }

    // Waits for the calls already queued, then returns every text so far.
    std::vector<std::string> lines()
    {
        runOnQueueAndWait([] {});
        return linesSoFar();
    }

    // What was produced so far, without waiting for queued calls.
    std::vector<std::string> linesSoFar()
    {
        const std::lock_guard lock(mutex_);
        return lines_;
    }

    void dropQueue() { queue.reset(); }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace logging::testing
