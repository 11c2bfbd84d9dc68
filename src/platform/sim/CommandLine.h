#pragma once

#include <string>
#include <vector>

namespace veltrane::sim {

// A program and its arguments as transcripts show them: separated by single blanks, unquoted.
std::string commandLine(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace veltrane::sim
