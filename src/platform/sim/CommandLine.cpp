#include "platform/sim/CommandLine.h"

namespace veltrane::sim {

std::string commandLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line = program;
    for (const std::string& argument : arguments) {
        line += " " + argument;
    }
    return line;
}

}  // namespace veltrane::sim
