#pragma once

namespace veltrane::platform {

// The application side of the process's life: the platform calls these on the main queue.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual void applicationDidFinishLaunching() = 0;
    virtual void applicationWillTerminate() = 0;
};

}  // namespace veltrane::platform
