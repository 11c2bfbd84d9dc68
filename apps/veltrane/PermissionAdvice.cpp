#include "PermissionAdvice.h"

#include "platform/linux/system/InputAccess.h"

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
    using linuxbackend::InputAccess;
    const auto rule = InputAccess::rule();
    const std::string what = "Veltrane reads the keyboards (/dev/input/event*) and writes keys to a virtual keyboard "
                             "through /dev/uinput. " +
                             InputAccess::describe(rule) + ".";
    switch (rule) {
    case InputAccess::Rule::seat:
        return what + " This session is not the active one at the seat: a remote session, or one switched away "
                      "from. Use Veltrane in the session at the seat, or join the group \"input\" with this "
                      "command, then log out and in again:";
    case InputAccess::Rule::group:
        return what + " Join that group with this command, then log out and in again:";
    case InputAccess::Rule::none:
        break;
    }
    return what + " Install it with this command (Veltrane's package does it), then start Veltrane once more:";
}

std::string PermissionAdvice::command()
{
    const bool ruleInstalled = linuxbackend::InputAccess::rule() != linuxbackend::InputAccess::Rule::none;
    return std::string("sudo " VELTRANE_PERMISSIONS_SCRIPT) + (ruleInstalled ? " --group" : "");
}

}  // namespace veltrane
