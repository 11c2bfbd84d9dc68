#include "platform/sim/DesktopLock.h"

namespace veltrane::sim {

void DesktopLock::lock()
{
    if (!real_) {
        return;
    }
    const auto self = std::this_thread::get_id();
    if (owner_.load() == self) {
        ++depth_;
        return;
    }
    mutex_.lock();
    owner_.store(self);
    depth_ = 1;
}

void DesktopLock::unlock()
{
    if (!real_ || --depth_ > 0) {
        return;
    }
    owner_.store(std::thread::id());
    mutex_.unlock();
}

}  // namespace veltrane::sim
