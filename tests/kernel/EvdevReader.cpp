#include "EvdevReader.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <stdexcept>

namespace veltrane::kernel {

EvdevReader::EvdevReader(const std::string& node) : fd_(::open(node.c_str(), O_RDONLY | O_CLOEXEC))
{
    if (fd_ < 0 || ::ioctl(fd_, EVIOCGRAB, 1) != 0) {
        throw std::runtime_error("cannot open and grab " + node);
    }
}

EvdevReader::~EvdevReader()
{
    ::close(fd_);
}

std::optional<input_event> EvdevReader::next(std::chrono::milliseconds timeout)
{
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) != 1) {
        return std::nullopt;
    }
    input_event event{};
    if (::read(fd_, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
        return std::nullopt;
    }
    return event;
}

}  // namespace veltrane::kernel
