#pragma once

#include <string>

namespace veltrane {

// What to do when the program may not use the input devices, as the terminal shows it.
class PermissionAdvice {
public:
    static std::string text(const std::string& problem);
};

}  // namespace veltrane
