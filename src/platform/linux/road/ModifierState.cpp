#include "platform/linux/road/ModifierState.h"

#include <algorithm>
#include <bit>

namespace veltrane::linuxbackend {

void ModifierState::hold(platform::EventFlags modifier, bool down)
{
    if (modifier == 0) {
        return;
    }
    int& count = counts_[static_cast<std::size_t>(std::countr_zero(modifier))];
    count = down ? count + 1 : std::max(count - 1, 0);
    held_ = count > 0 ? (held_ | modifier) : (held_ & ~modifier);
}

platform::EventFlags ModifierState::flags() const
{
    return held_ | (capsLock_ ? platform::kFlagCapsLock : 0);
}

void ModifierState::setCapsLockState(bool on)
{
    if (capsLock_.exchange(on) != on && request_) {
        request_(on);
    }
}

}  // namespace veltrane::linuxbackend
