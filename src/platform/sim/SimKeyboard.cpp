#include "platform/sim/SimKeyboard.h"

#include "platform/sim/DesktopLock.h"
#include "platform/sim/EventText.h"
#include "platform/sim/Faults.h"
#include "platform/sim/Transcript.h"

namespace veltrane::sim {

namespace {

constexpr std::uint32_t kGenericDesktopPage = 1;
constexpr std::uint32_t kKeyboardUsage = 6;
constexpr int kPageShift = 32;

std::int64_t keyValue(HidKey key)
{
    return static_cast<std::int64_t>(std::uint64_t{key.page} << kPageShift | key.usage);
}

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
    mapping_ = mapping;
    transcript_.record("keymap", name() + " " + describeMapping(mapping_));
    return true;
}

std::optional<HidKey> SimKeyboard::map(HidKey key) const
{
    for (const auto& entry : mapping_) {
        if (entry.source && entry.destination && *entry.source == keyValue(key)) {
            const auto destination = static_cast<std::uint64_t>(*entry.destination);
            const HidKey mapped{static_cast<std::uint32_t>(destination >> kPageShift),
                                static_cast<std::uint32_t>(destination & 0xFFFFFFFFu)};
            return mapped.usage == 0 ? std::nullopt : std::optional<HidKey>(mapped);
        }
    }
    return key;
}

std::optional<HidKey> SimKeyboard::press(HidKey key)
{
    const auto mapped = map(key);
    held_[key] = mapped;
    return mapped;
}

std::optional<HidKey> SimKeyboard::release(HidKey key)
{
    const auto found = held_.find(key);
    if (found == held_.end()) {
        return map(key);
    }
    const auto mapped = found->second;
    held_.erase(found);
    return mapped;
}

}  // namespace veltrane::sim
