#pragma once

#include "logging/filters/PartialMatchData.h"

namespace logging {

// The outcome of validating one group of filters; the counts matter only for someFiltersMatch.
struct Result {
    enum class Kind { someFiltersMatch, allFiltersMatch, noFiltersMatchingType };

    Kind kind = Kind::noFiltersMatchingType;
    PartialMatchData partialMatch;

    bool operator==(const Result&) const = default;
};

}  // namespace logging
