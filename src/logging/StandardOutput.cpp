#include "logging/StandardOutput.h"

#include <cstdio>
#include <string>

namespace logging {

void StandardOutput::printLine(std::string_view text)
{
    std::string line(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

}  // namespace logging
