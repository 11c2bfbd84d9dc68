#pragma once

#include "platform/System.h"

#include <string>

namespace veltrane {

// What to do when the program may not use the input devices.
class PermissionAdvice {
public:
    // As the terminal shows it, after what went wrong.
    static std::string text(const std::string& problem);
    // As the permission window shows it, above the command.
    static std::string explanation();
    // The one command that opens the devices to the user.
    static std::string command();
    // For the engine's alerts: no settings page grants it, the command does.
    static platform::PermissionHelp help();
};

}  // namespace veltrane
