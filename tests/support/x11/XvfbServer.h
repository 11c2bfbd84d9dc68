#pragma once

#include <sys/types.h>

#include <string>

namespace veltrane::desktoptest {

// An X server of its own for a test: Xvfb on a display it picks itself, so that tests run side by
// side, with one screen.
class XvfbServer {
public:
    // Returns once the server accepts clients; throws when it did not start.
    explicit XvfbServer(int width = 800, int height = 600);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // As DISPLAY wants it: ":1".
    const std::string& display() const { return display_; }
    // Kills the server at once, as a crash would.
    void kill();

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace veltrane::desktoptest
