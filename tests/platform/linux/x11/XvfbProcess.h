#pragma once

#include <sys/types.h>

#include <string>

namespace veltrane::linuxbackend {

// A private X server for one test: Xvfb on a display it picks itself, so that tests run side by side.
class XvfbProcess {
public:
    // Returns once the server accepts clients; throws when it did not start.
    XvfbProcess();
    ~XvfbProcess();
    XvfbProcess(const XvfbProcess&) = delete;
    XvfbProcess& operator=(const XvfbProcess&) = delete;

    // As DISPLAY wants it: ":7".
    const std::string& display() const { return display_; }
    // Kills the server at once, as a crash would.
    void kill();

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace veltrane::linuxbackend
