#pragma once

#include "logging/filters/FilterFactory.h"

namespace logging {

// The filter factories by target: Filters::Path::startsWith({"/src/"}), Filters::Message::excludes(...).
struct Filters {
    using Path = PathFilterFactory;
    using Function = FunctionFilterFactory;
    using Message = MessageFilterFactory;
};

}  // namespace logging
