#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::sim {

class Scheduler;

// Everything observable on the simulated desktop, one line per effect in the order they happen:
// "0.400 post keyDown key=53 flags=0x0". Lines may be recorded from any thread.
class Transcript {
public:
    struct Line {
        std::int64_t time;
        std::string kind;
        std::string text;

        // The line as printed: time in seconds with three decimals, kind, text.
        std::string formatted() const;
    };
    using Sink = std::function<void(const Line&)>;

    explicit Transcript(const Scheduler& scheduler) : scheduler_(scheduler) {}

    void record(std::string_view kind, std::string text);
    // Called with each line as it is recorded, for printing as the run goes.
    void setSink(Sink sink);

    std::vector<Line> lines() const;
    // Forgets the lines recorded so far, for runs too long to keep them all.
    void clear();
    // The formatted lines of the given kinds (every kind when empty), each ending in a newline.
    std::string text(const std::vector<std::string>& kinds = {}) const;

private:
    const Scheduler& scheduler_;
    mutable std::mutex mutex_;
    std::vector<Line> lines_;
    Sink sink_;
};

}  // namespace veltrane::sim
