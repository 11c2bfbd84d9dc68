#include "PermissionAdvice.h"

namespace veltrane {

std::string PermissionAdvice::text(const std::string& problem)
{
    return "Veltrane cannot use the input devices: " + problem + ".\n\n" + explanation() + "\n\n    " +
           command() + "\n\nNothing else needs root.\n";
}

platform::PermissionHelp PermissionAdvice::help()
{
    const std::string how = explanation() + "\n\n    " + command();
    return {.listenerAlertText =
                "Veltrane may not read the keyboards or type through its virtual keyboard.\n\n" + how,
            .tapAlertText = "Veltrane is unable to listen to input from your devices.\n\n" + how +
                            "\n\nVeltrane will now close.",
            .settingsPage = std::nullopt};
}

std::string PermissionAdvice::explanation()
{
    return "Veltrane reads the keyboards (/dev/input/event*) and writes keys to a virtual keyboard through "
           "/dev/uinput. Allow both once, for the members of the group \"input\", and join that group, with "
           "this "
           "command; then log out and in again, and start Veltrane once more:";
}

std::string PermissionAdvice::command()
{
    return "sudo " VELTRANE_PERMISSIONS_SCRIPT;
}

}  // namespace veltrane
