#include "platform/sim/Transcript.h"

#include "platform/sim/Scheduler.h"

#include <algorithm>
#include <cstdio>

namespace veltrane::sim {

std::string Transcript::Line::formatted() const
{
    const std::int64_t millis = time / 1'000'000;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%lld.%03lld", static_cast<long long>(millis / 1000),
                  static_cast<long long>(millis % 1000));
    return std::string(stamp) + " " + kind + (text.empty() ? "" : " " + text);
}

void Transcript::record(std::string_view kind, std::string text)
{
    const std::lock_guard lock(mutex_);
    lines_.push_back(Line{scheduler_.now(), std::string(kind), std::move(text)});
    if (sink_) {
        sink_(lines_.back());
    }
}

void Transcript::setSink(Sink sink)
{
    const std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

std::vector<Transcript::Line> Transcript::lines() const
{
    const std::lock_guard lock(mutex_);
    return lines_;
}

void Transcript::clear()
{
    const std::lock_guard lock(mutex_);
    lines_.clear();
}

std::string Transcript::text(const std::vector<std::string>& kinds) const
{
    const std::lock_guard lock(mutex_);
    std::string result;
    for (const Line& line : lines_) {
        if (kinds.empty() || std::find(kinds.begin(), kinds.end(), line.kind) != kinds.end()) {
            result += line.formatted() + "\n";
        }
    }
    return result;
}

}  // namespace veltrane::sim
