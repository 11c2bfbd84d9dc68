#include "platform/linux/road/LinuxEventTapService.h"

#include <algorithm>

namespace veltrane::linuxbackend {

std::shared_ptr<platform::EventTap> LinuxEventTapService::createTap(platform::EventMask mask,
                                                                    Callback callback)
{
    const auto tap = std::make_shared<LinuxEventTap>(mask, std::move(callback), [this] { changed(); });
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
    for (const auto& weak : *taps()) {
        if (const auto tap = weak.lock()) {
            tap->handle(event);
        }
    }
}

platform::EventMask LinuxEventTapService::wantedMask() const
{
    platform::EventMask mask = 0;
    for (const auto& weak : *taps()) {
        if (const auto tap = weak.lock()) {
            mask |= tap->wanted();
        }
    }
    return mask;
}

std::shared_ptr<const LinuxEventTapService::Taps> LinuxEventTapService::taps() const
{
    const std::lock_guard guard(mutex_);
    return taps_;
}

void LinuxEventTapService::changed() const
{
    if (changed_) {
        changed_();
    }
}

}  // namespace veltrane::linuxbackend
