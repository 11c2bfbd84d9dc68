#pragma once

#include "platform/linux/settings/SettingsFile.h"

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::linuxbackend {

// "veltrane config": shows, explains and changes the settings of a settings file from the command line.
// Values are written as the file writes them, keys by their names.
class SettingsCommand {
public:
    static constexpr int done = 0;
    static constexpr int unusableFile = 1;
    // A usage error, a key the program does not know or a value its setting cannot hold.
    static constexpr int refused = 2;

    struct Verb {
        std::string_view synopsis;
        std::string_view summary;
    };
    // What follows "config", for the usage, the help, the manual page and the completions.
    static std::span<const Verb> verbs();

    // What a setting takes, as a person writes it.
    static std::string accepted(const SettingsSchema::Setting& setting);
    // A value as the file writes it, as a person reads it: keys by their names.
    static std::string shownValue(const SettingsSchema::Setting& setting, const std::string& text);

    SettingsCommand(SettingsFile& file, std::ostream& out, std::ostream& err)
        : file_(file), out_(out), err_(err)
    {
    }

    // Runs the command with the arguments that follow "config" and returns its exit status. The file is
    // written only when the command succeeds.
    int run(const std::vector<std::string>& arguments);

private:
    using Setting = SettingsSchema::Setting;

    int list();
    int describe(const std::string& key);
    int get(const std::string& key);
    int set(const std::string& key, const std::string& text);
    int reset(const std::optional<std::string>& key);
    int edit(const std::string& key, const std::string& name, bool add);
    int path();
    int usage();

    const Setting* known(const std::string& key);
    bool reportedProblem();
    // The value in force as a person reads it, marked when it is the default.
    std::string inForce(const Setting& setting, bool marked) const;

    SettingsFile& file_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace veltrane::linuxbackend
