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
    lines_.push_back(Line{scheduler_.now(), std::string(kind), std::move(text)});
    if (sink_) {
        sink_(lines_.back());
    }
}

std::string Transcript::text(const std::vector<std::string>& kinds) const
{
    std::string result;
    for (const Line& line : lines_) {
        if (kinds.empty() || std::find(kinds.begin(), kinds.end(), line.kind) != kinds.end()) {
            result += line.formatted() + "\n";
        }
    }
    return result;
}

}  // namespace veltrane::sim
