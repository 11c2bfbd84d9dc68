#pragma once

namespace logging {

// Where a log call was made, as the logging macros pass it: the texts are literals that live as
// long as the program, so a call keeps them without copying.
struct CallSite {
    const char* file;
    const char* function;
    int line;
};

}  // namespace logging
