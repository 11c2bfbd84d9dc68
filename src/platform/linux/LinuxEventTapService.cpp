#include "platform/linux/LinuxEventTapService.h"

#include <algorithm>

namespace veltrane::linuxbackend {

std::shared_ptr<platform::EventTap> LinuxEventTapService::createTap(platform::EventMask mask,
                                                                    Callback callback)
{
    const auto tap = std::make_shared<LinuxEventTap>(mask, std::move(callback));
    const std::lock_guard guard(mutex_);
    auto taps = std::make_shared<Taps>();
    taps->push_back(tap);
    std::copy_if(taps_->begin(), taps_->end(), std::back_inserter(*taps),
                 [](const auto& weak) { return !weak.expired(); });
    taps_ = std::move(taps);
    return tap;
}

void LinuxEventTapService::pass(platform::Event& event) const
{
    std::shared_ptr<const Taps> taps;
    {
        const std::lock_guard guard(mutex_);
        taps = taps_;
    }
    for (const auto& weak : *taps) {
        if (const auto tap = weak.lock()) {
            tap->handle(event);
        }
    }
}

}  // namespace veltrane::linuxbackend
