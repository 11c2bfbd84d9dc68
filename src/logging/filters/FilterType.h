#pragma once

#include "logging/Level.h"
#include "logging/filters/TargetType.h"

#include <optional>
#include <string_view>

namespace logging {

// What every filter offers to a destination's decision.
class FilterType {
public:
    virtual ~FilterType() = default;

    // Whether the condition holds for the value that target() names (absent: never).
    virtual bool evaluate(std::optional<std::string_view> value) const = 0;
    virtual const TargetType& target() const = 0;
    virtual bool isRequiredFilter() const = 0;
    virtual bool isExcluding() const = 0;
    virtual bool levelAllows(Level level) const = 0;
};

}  // namespace logging
