#include "PermissionAdvice.h"

namespace veltrane {

std::string PermissionAdvice::text(const std::string& problem)
{
    return "Veltrane cannot use the input devices: " + problem +
           ".\n\n"
           "It reads the keyboards (/dev/input/event*) and writes keys to a virtual keyboard through\n"
           "/dev/uinput. Allow both once, for the members of the group \"input\", and join that group:\n\n"
           "    sudo " VELTRANE_PERMISSIONS_SCRIPT "\n\n"
           "then log out and in again, and start Veltrane once more. Nothing else needs root.\n";
}

}  // namespace veltrane
