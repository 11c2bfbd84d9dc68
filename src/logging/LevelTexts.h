#pragma once

#include "logging/Level.h"

#include <string>

namespace logging {

// One text for each level: the labels of a destination, or the colour codes put before them.
struct LevelTexts {
    std::string verbose;
    std::string debug;
    std::string info;
    std::string warning;
    std::string error;

    const std::string& at(Level level) const
    {
        switch (level) {
        case Level::verbose:
            return verbose;
        case Level::debug:
            return debug;
        case Level::info:
            return info;
        case Level::warning:
            return warning;
        case Level::error:
            break;
        }
        return error;
    }
};

}  // namespace logging
