#pragma once

#include <string_view>

namespace logging {

// Where the library reports its own troubles: standard output, never the library itself, which
// could recurse.
class StandardOutput {
public:
    // Writes the text and a newline in one piece, so lines from several queues never interleave.
    static void printLine(std::string_view text);
};

}  // namespace logging
