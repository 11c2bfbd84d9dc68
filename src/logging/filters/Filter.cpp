#include "logging/filters/Filter.h"

#include <utility>

namespace logging {

Filter::Filter(TargetType targetType, bool required, Level minLevel)
    : targetType_(std::move(targetType)), required_(required), minLevel_(minLevel)
{
}

}  // namespace logging
