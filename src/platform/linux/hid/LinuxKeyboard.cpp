#include "platform/linux/hid/LinuxKeyboard.h"

#include <algorithm>

namespace veltrane::linuxbackend {

namespace {

constexpr std::uint32_t kGenericDesktopPage = 1;
constexpr std::uint32_t kKeyboardUsage = 6;

}  // namespace

void LinuxKeyboard::disconnect()
{
    const std::lock_guard guard(mutex_);
    connected_ = false;
}

platform::HidProperty LinuxKeyboard::property(std::string_view key) const
{
    return identity_.property(key);
}

bool LinuxKeyboard::conformsTo(std::uint32_t usagePage, std::uint32_t usage) const
{
    return usagePage == kGenericDesktopPage && usage == kKeyboardUsage;
}

bool LinuxKeyboard::setUserKeyMapping(const std::vector<platform::HidKeyMapping>& mapping)
{
    const std::lock_guard guard(mutex_);
    if (!connected_) {
        return false;
    }
    mapping_.set(mapping);
    return true;
}

std::optional<platform::HidUsage> LinuxKeyboard::press(platform::HidUsage key)
{
    const std::lock_guard guard(mutex_);
    return mapping_.press(key);
}

std::optional<platform::HidUsage> LinuxKeyboard::release(platform::HidUsage key)
{
    const std::lock_guard guard(mutex_);
    return mapping_.release(key);
}

std::vector<platform::HidUsage> LinuxKeyboard::releaseAll()
{
    const std::lock_guard guard(mutex_);
    return mapping_.releaseAll();
}

std::optional<platform::HidUsage> LinuxKeyboard::noteKey(Held key, bool down)
{
    const std::lock_guard guard(mutex_);
    const auto end = held_.begin() + static_cast<std::ptrdiff_t>(heldCount_);
    const auto found =
        std::find_if(held_.begin(), end, [&](const Held& held) { return held.linuxCode == key.linuxCode; });
    const auto namedAlike = [&](const Held& held) {
        return held.linuxCode != key.linuxCode && held.usage == key.usage;
    };
    if (found == end && key.usage.page != 0 && std::any_of(held_.begin(), end, namedAlike)) {
        return std::nullopt;
    }
    if (found != end && down) {
        *found = key;
    } else if (found != end) {
        key.usage = found->usage;
        std::copy(found + 1, end, found);
        --heldCount_;
    } else if (down && heldCount_ < kMostHeld) {
        held_[heldCount_++] = key;
    }
    return key.usage;
}

std::vector<LinuxKeyboard::Held> LinuxKeyboard::heldKeys() const
{
    const std::lock_guard guard(mutex_);
    return {held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(heldCount_)};
}

}  // namespace veltrane::linuxbackend
