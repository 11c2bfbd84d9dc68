#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

// The commands of the veltrane program as a person reads them: one source for --help, the manual page
// and the shell completions.
class CommandLine {
public:
    struct Command {
        std::string synopsis;
        std::string summary;
    };

    static std::vector<Command> commands();
    // What --help prints, and a misuse on the standard error.
    static std::string usage();
};

}  // namespace veltrane
