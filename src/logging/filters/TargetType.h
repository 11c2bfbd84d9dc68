#pragma once

#include "logging/filters/ComparisonType.h"

namespace logging {

// What a filter looks at, with the comparison it applies.
struct TargetType {
    enum class Kind { path, function, message };

    Kind kind = Kind::path;
    ComparisonType comparison;

    // Targets are the same when they look at the same thing, whatever their comparisons.
    bool operator==(const TargetType& other) const { return kind == other.kind; }
};

}  // namespace logging
