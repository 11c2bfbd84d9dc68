#include "platform/sim/SimKeyboard.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/EventText.h"
#include "platform/sim/Faults.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

namespace {

constexpr std::uint32_t kGenericDesktopPage = 1;
constexpr std::uint32_t kKeyboardUsage = 6;
std::string describeMapping(const std::vector<platform::HidKeyMapping>& mapping)
{
    if (mapping.empty()) {
        return "(empty)";
    }
    std::string text;
    for (const auto& entry : mapping) {
        text += text.empty() ? "" : " ";
        text += (entry.source ? hexText(*entry.source) : "?") + "->" +
                (entry.destination ? hexText(*entry.destination) : "?");
    }
    return text;
}

}  // namespace

SimKeyboard::SimKeyboard(std::string name, Properties properties, DesktopLock& lock, Transcript& transcript,
                         Faults& faults)
    : SimHidDevice(std::move(name), std::move(properties)), lock_(lock), transcript_(transcript),
      faults_(faults)
{
}

void SimKeyboard::disconnect()
{
    const std::lock_guard guard(lock_);
    connected_ = false;
}

bool SimKeyboard::conformsTo(std::uint32_t usagePage, std::uint32_t usage) const
{
    return usagePage == kGenericDesktopPage && usage == kKeyboardUsage;
}

bool SimKeyboard::setUserKeyMapping(const std::vector<platform::HidKeyMapping>& mapping)
{
    const std::lock_guard guard(lock_);
    if (!connected_) {
        return false;
    }
    if (faults_.refusingKeyboards.erase(name()) > 0) {
        transcript_.record("keymap", name() + " refused");
        return false;
    }
    mapping_.set(mapping);
    transcript_.record("keymap", name() + " " + describeMapping(mapping));
    return true;
}

std::optional<HidKey> SimKeyboard::press(HidKey key)
{
    return mapping_.press(key);
}

std::optional<HidKey> SimKeyboard::release(HidKey key)
{
    return mapping_.release(key);
}

}  // namespace veltrane::sim
