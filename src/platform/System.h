#pragma once

namespace veltrane::platform {

// What the process asks of the operating system about itself.
class System {
public:
    virtual ~System() = default;

    // Whether the user has granted the process the accessibility permission.
    virtual bool isProcessTrusted() const = 0;
    // Ends the process at once with that status; nothing after the call runs.
    [[noreturn]] virtual void exit(int status) = 0;
};

}  // namespace veltrane::platform
