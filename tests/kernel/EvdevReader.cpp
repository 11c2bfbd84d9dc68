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
    if (read_ == size_) {
        pollfd ready{fd_, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(timeout.count())) != 1) {
            return std::nullopt;
        }
        const auto length = ::read(fd_, buffer_.data(), sizeof buffer_);
        if (length <= 0) {
            return std::nullopt;
        }
        read_ = 0;
        size_ = static_cast<std::size_t>(length) / sizeof(input_event);
    }
    const input_event event = buffer_[read_++];
    if (event.type == EV_SYN && event.code == SYN_DROPPED) {
        throw std::runtime_error("the test fell behind reading its device: the kernel dropped events");
    }
    return event;
}

}  // namespace veltrane::kernel
