#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veltrane::linuxbackend {

// Which rule opens the input devices and uinput to the user. Veltrane's udev rule tags them for udev's
// uaccess, so that logind gives them to the person at the seat while that session is the active one
// (never to a remote session), and gives uinput to the group "input" too, for machines where logind
// manages no seats and the group is all there is.
class InputAccess {
public:
    enum class Rule {
        // The rule is installed and logind manages seats: the active local session has the devices.
        seat,
        // The rule is installed, but no seats are managed: the members of the group "input" have them.
        group,
        // The rule is not installed.
        none,
    };

    struct Places {
        // Where udev reads rules from, the packaged place first.
        std::vector<std::filesystem::path> rules;
        // Present where logind manages seats.
        std::filesystem::path seats;
    };

    static Rule rule(const Places& places = systemPlaces());
    // One sentence on what the rule gives, and to whom.
    static std::string describe(Rule rule);

private:
    static Places systemPlaces();
};

}  // namespace veltrane::linuxbackend
