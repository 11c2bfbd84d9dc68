#pragma once

#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrane::desktoptest {

// An X server of its own for a test: Xvfb on a display it picks itself, so that tests run side by
// side, with one screen.
class XvfbServer {
public:
    // Returns once the server accepts clients; throws when it did not start.
    explicit XvfbServer(int width = 800, int height = 600)
    {
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) {
            throw std::runtime_error("cannot make a pipe for Xvfb");
        }
        server_.emplace(std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", std::to_string(ready[1]),
                                                 "-screen", "0",
                                                 std::to_string(width) + "x" + std::to_string(height) + "x24",
                                                 "-nolisten", "tcp"},
                        testsupport::ChildProcess::Options{.keptFd = ready[1]});
        ::close(ready[1]);
        // Xvfb writes its display number there once it listens; under emulation that can take many
        // seconds.
        pollfd readable{ready[0], POLLIN, 0};
        char digit = 0;
        while (::poll(&readable, 1, 60000) == 1 && ::read(ready[0], &digit, 1) == 1 && digit != '\n') {
            display_ += digit;
        }
        ::close(ready[0]);
        if (display_.empty()) {
            throw std::runtime_error("Xvfb did not start (is /usr/bin/Xvfb there?)");
        }
        display_.insert(0, ":");
    }

    // As DISPLAY wants it: ":1".
    const std::string& display() const { return display_; }
    // Kills the server at once, as a crash would.
    void kill() { server_->stop(); }

private:
    std::optional<testsupport::ChildProcess> server_;
    std::string display_;
};

}  // namespace veltrane::desktoptest
