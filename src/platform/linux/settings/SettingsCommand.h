#pragma once

#include "platform/linux/settings/SettingsFile.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// "veltrane config": lists, shows and changes the settings of a settings file from the command line,
// values written as the file writes them.
class SettingsCommand {
public:
    static constexpr int done = 0;
    static constexpr int unusableFile = 1;
    // A usage error, a key the program does not know or a value its setting cannot hold.
    static constexpr int refused = 2;

    SettingsCommand(SettingsFile& file, std::ostream& out, std::ostream& err)
        : file_(file), out_(out), err_(err)
    {
    }

    // Runs the command with the arguments that follow "config" and returns its exit status. The file is
    // written only when the command succeeds.
    int run(const std::vector<std::string>& arguments);

private:
    int list();
    int get(const std::string& key);
    int set(const std::string& key, const std::string& text);
    int unset(const std::string& key);

    std::optional<SettingKind> knownKind(const std::string& key);
    bool reportedProblem();
    std::string shown(const std::string& key) const;

    SettingsFile& file_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace veltrane::linuxbackend
