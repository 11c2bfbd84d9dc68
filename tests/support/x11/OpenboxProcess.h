#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace veltrane::desktoptest {

// A real window manager on a test's X server, with its home and configuration in a folder of the
// test's own so that nothing of the machine's user leaks in.
class OpenboxProcess {
public:
    // Started, not yet ready: it takes over the screen shortly after.
    OpenboxProcess(const std::string& display, const std::filesystem::path& home);
    ~OpenboxProcess();
    OpenboxProcess(const OpenboxProcess&) = delete;
    OpenboxProcess& operator=(const OpenboxProcess&) = delete;

private:
    pid_t pid_ = -1;
};

}  // namespace veltrane::desktoptest
