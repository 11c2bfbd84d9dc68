#pragma once

#include "TemporaryFolder.h"

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace veltrane::desktoptest {

// A headless sway of the test's own, in a runtime folder of its own so that tests run side by side.
// It refuses to run as root, so it runs as user nobody.
class SwayCompositor {
public:
    // Throws std::runtime_error, with sway's output, when it does not start within seconds.
    SwayCompositor();
    ~SwayCompositor();
    SwayCompositor(const SwayCompositor&) = delete;
    SwayCompositor& operator=(const SwayCompositor&) = delete;

    // The path of its Wayland socket.
    std::string display() const { return display_.string(); }
    // Runs a sway command such as a focus; false when sway refused it.
    bool command(const std::string& command) const;
    // Kills sway, as a crash of the compositor would end it for its clients.
    void stop();

private:
    void start();
    bool waitForSockets();

    testsupport::TemporaryFolder folder_;
    std::filesystem::path display_;
    std::filesystem::path ipc_;
    pid_t pid_ = -1;
};

}  // namespace veltrane::desktoptest
