#pragma once

#include <sys/types.h>

#include <string>

namespace veltrane::kernel {

// An X server of its own for a test: Xvfb on the first free display, with one screen.
class XvfbServer {
public:
    // Returns once the server accepts clients; throws when it did not start.
    XvfbServer(int width, int height);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // As DISPLAY wants it: ":1".
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace veltrane::kernel
