#include "platform/linux/system/InputAccess.h"

#include <algorithm>

namespace veltrane::linuxbackend {

InputAccess::Rule InputAccess::rule(const Places& places)
{
    std::error_code error;
    const bool installed = std::ranges::any_of(
        places.rules, [&error](const std::filesystem::path& rule) { return std::filesystem::exists(rule, error); });
    if (!installed) {
        return Rule::none;
    }
    return std::filesystem::is_directory(places.seats, error) ? Rule::seat : Rule::group;
}

std::string InputAccess::describe(Rule rule)
{
    switch (rule) {
    case Rule::seat:
        return "Veltrane's udev rule gives the keyboards, mice, touchpads and /dev/uinput to the person at the "
               "seat, while their session is the active one there (never to a remote session)";
    case Rule::group:
        return "Veltrane's udev rule is installed, but logind manages no seats here: the keyboards and "
               "/dev/uinput belong to the members of the group \"input\"";
    case Rule::none:
        break;
    }
    return "Veltrane's udev rule is not installed: nothing gives the keyboards and /dev/uinput to the user";
}

InputAccess::Places InputAccess::systemPlaces()
{
    return {.rules = {"/usr/lib/udev/rules.d/70-veltrane.rules", "/lib/udev/rules.d/70-veltrane.rules",
                      "/etc/udev/rules.d/70-veltrane.rules"},
            .seats = "/run/systemd/seats"};
}

}  // namespace veltrane::linuxbackend
