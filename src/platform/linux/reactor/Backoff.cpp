#include "platform/linux/reactor/Backoff.h"

#include <algorithm>
#include <cstring>

namespace veltrane::linuxbackend {

std::chrono::milliseconds Backoff::failed(int error, const Log& log)
{
    if (next_.count() == 0) {
        log("Cannot " + what_ + ": " + std::strerror(error) + "; trying again less and less often");
        next_ = first_;
    } else {
        next_ = std::min(next_ * 2, longest_);
    }
    return next_;
}

void Backoff::succeeded(const Log& log)
{
    if (next_.count() != 0) {
        next_ = std::chrono::milliseconds(0);
        log("Can " + what_ + " again");
    }
}

}  // namespace veltrane::linuxbackend
