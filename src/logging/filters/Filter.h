#pragma once

#include "logging/filters/FilterType.h"

namespace logging {

// The settings every filter has; subclasses decide how a value is evaluated.
class Filter : public FilterType {
public:
    Filter(TargetType targetType, bool required, Level minLevel);

    const TargetType& target() const override { return targetType_; }
    bool isRequiredFilter() const override { return required_; }
    bool isExcluding() const override { return false; }
    bool levelAllows(Level level) const override { return minLevel_ <= level; }

private:
    TargetType targetType_;
    bool required_;
    Level minLevel_;
};

}  // namespace logging
