#include "platform/linux/LinuxKeyboard.h"

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
    if (key == platform::kHidVendorId) {
        return identity_.vendor;
    }
    if (key == platform::kHidProductId) {
        return identity_.product;
    }
    if (key == platform::kHidLocationId) {
        return identity_.location;
    }
    if (key == platform::kHidProduct) {
        return identity_.name;
    }
    return {};
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

}  // namespace veltrane::linuxbackend
