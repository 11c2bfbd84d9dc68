#include "platform/sim/SimUserDefaults.h"

namespace veltrane::sim {

std::optional<platform::DefaultsValue> SimUserDefaults::value(const std::string& key) const
{
    const std::lock_guard lock(mutex_);
    const auto found = snapshot_.find(key);
    return found == snapshot_.end() ? std::nullopt : std::optional(found->second);
}

void SimUserDefaults::store(const std::string& key, platform::DefaultsValue value)
{
    const std::lock_guard lock(mutex_);
    snapshot_.insert_or_assign(key, value);
    domain_.insert_or_assign(key, std::move(value));
}

void SimUserDefaults::erase(const std::string& key)
{
    const std::lock_guard lock(mutex_);
    snapshot_.erase(key);
    domain_.erase(key);
}

}  // namespace veltrane::sim
