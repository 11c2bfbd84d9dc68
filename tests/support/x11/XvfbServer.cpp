#include "x11/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace veltrane::desktoptest {

namespace {

// Xvfb writes its display number on this descriptor once it listens; under emulation that can
// take many seconds.
constexpr int kReadyTimeoutMs = 60000;

std::string readDisplayNumber(int fd)
{
    std::string number;
    char digit = 0;
    pollfd ready{fd, POLLIN, 0};
    while (::poll(&ready, 1, kReadyTimeoutMs) == 1 && ::read(fd, &digit, 1) == 1 && digit != '\n') {
        number += digit;
    }
    return number;
}

}  // namespace

XvfbServer::XvfbServer(int width, int height)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot make a pipe for Xvfb");
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string readyFd = std::to_string(pipeFds[1]);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::fcntl(pipeFds[1], F_SETFD, 0);
        ::execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", readyFd.c_str(), "-screen", "0", screen.c_str(),
                "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    const std::string number = pid_ > 0 ? readDisplayNumber(pipeFds[0]) : "";
    ::close(pipeFds[0]);
    if (number.empty()) {
        kill();
        throw std::runtime_error("Xvfb did not start (is /usr/bin/Xvfb there?)");
    }
    display_ = ":" + number;
}

XvfbServer::~XvfbServer()
{
    kill();
}

void XvfbServer::kill()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

}  // namespace veltrane::desktoptest
