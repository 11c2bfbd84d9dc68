#include "keyboard/HidRemap.h"

#include "core/Notifications.h"
#include "logging/Log.h"

#include <algorithm>

namespace veltrane {

namespace {

constexpr std::uint32_t kGenericDesktopPage = 1;
constexpr std::uint32_t kKeyboardUsage = 6;

std::int64_t keyValue(std::uint32_t usage)
{
    return HidRemap::kKeyboardPage + usage;
}

platform::HidKeyMapping identity(std::int64_t key)
{
    return {key, key};
}

std::string describe(const std::optional<std::int64_t>& key)
{
    return key ? std::to_string(*key) : "none";
}

std::string describe(const std::vector<platform::HidKeyMapping>& mapping)
{
    std::string text = "[";
    for (const auto& entry : mapping) {
        text += text.size() > 1 ? ", " : "";
        text += "{HIDKeyboardModifierMappingSrc: " + describe(entry.source) +
                ", HIDKeyboardModifierMappingDst: " + describe(entry.destination) + "}";
    }
    return text + "]";
}

}  // namespace

HidRemap::HidRemap(const platform::Platform& platform, Defaults& defaults)
    : platform_(platform), keyboardListener_(platform, defaults),
      observer_(platform.notificationCenter.observe(Notifications::kKeyboardAddedOrRemoved,
                                                    [this](const std::any&) { remap(); }))
{
}

HidRemap::~HidRemap()
{
    platform_.notificationCenter.removeObserver(observer_);
}

bool HidRemap::isRemapped(std::uint32_t sourceUsage) const
{
    const std::lock_guard lock(mutex_);
    return std::any_of(mapping_.begin(), mapping_.end(),
                       [&](const auto& entry) { return entry.source == keyValue(sourceUsage); });
}

bool HidRemap::isEmpty() const
{
    const std::lock_guard lock(mutex_);
    return mapping_.empty();
}

void HidRemap::resetMapping(std::uint32_t sourceUsage)
{
    {
        const std::lock_guard lock(mutex_);
        const auto found = std::find_if(mapping_.begin(), mapping_.end(), [&](const auto& entry) {
            return entry.source == keyValue(sourceUsage);
        });
        if (found == mapping_.end()) {
            return;
        }
        mapping_.erase(found);
        mapping_.push_back(identity(keyValue(sourceUsage)));
    }
    remap();
}

void HidRemap::resetAll()
{
    {
        const std::lock_guard lock(mutex_);
        std::vector<platform::HidKeyMapping> identities;
        for (const auto& entry : mapping_) {
            if (entry.source) {
                identities.push_back(identity(*entry.source));
            }
        }
        mapping_ = std::move(identities);
    }
    remap();
}

void HidRemap::addMapping(std::uint32_t sourceUsage, std::uint32_t destinationUsage)
{
    {
        const std::lock_guard lock(mutex_);
        mapping_.push_back({keyValue(sourceUsage), keyValue(destinationUsage)});
    }
    remap();
}

void HidRemap::remap()
{
    const auto services = platform_.hidEventSystem.copyServices();
    if (!services) {
        return;
    }
    std::vector<platform::HidKeyMapping> mapping;
    {
        const std::lock_guard lock(mutex_);
        mapping = mapping_;
    }
    LOGGING_INFO("Key mapping: " + describe(mapping));
    for (const auto& service : *services) {
        if (service->conformsTo(kGenericDesktopPage, kKeyboardUsage) &&
            !service->setUserKeyMapping(mapping)) {
            LOGGING_INFO("Unable to set keyboard mapping");
        }
    }
    const std::lock_guard lock(mutex_);
    std::erase_if(mapping_, [](const auto& entry) { return entry.source == entry.destination; });
}

}  // namespace veltrane
