#include "XvfbProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <stdexcept>

namespace veltrane::linuxbackend {

namespace {

// Xvfb writes its display number there once it listens.
std::string displayNumber(int descriptor)
{
    std::string number;
    char digit = 0;
    pollfd ready{descriptor, POLLIN, 0};
    while (::poll(&ready, 1, 30000) == 1 && ::read(descriptor, &digit, 1) == 1 && digit != '\n') {
        number += digit;
    }
    return number;
}

}  // namespace

XvfbProcess::XvfbProcess()
{
    std::array<int, 2> ready{};
    if (::pipe2(ready.data(), O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make a pipe for Xvfb");
    }
    const std::string readyArgument = std::to_string(ready[1]);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::fcntl(ready[1], F_SETFD, 0);
        ::execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", readyArgument.c_str(), "-screen", "0", "800x600x24",
                "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ready[1]);
    const std::string number = pid_ > 0 ? displayNumber(ready[0]) : "";
    ::close(ready[0]);
    if (number.empty()) {
        kill();
        throw std::runtime_error("Xvfb did not start");
    }
    display_ = ":" + number;
}

XvfbProcess::~XvfbProcess()
{
    kill();
}

void XvfbProcess::kill()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

}  // namespace veltrane::linuxbackend
