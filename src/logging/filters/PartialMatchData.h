#pragma once

namespace logging {

// How the filters of one group matched a call: condition and level both (full), the condition only,
// or the level only.
struct PartialMatchData {
    int fullMatchCount = 0;
    int conditionMatchCount = 0;
    int logLevelMatchCount = 0;

    bool operator==(const PartialMatchData&) const = default;
};

}  // namespace logging
