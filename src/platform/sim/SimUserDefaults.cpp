#include "platform/sim/SimUserDefaults.h"

namespace veltrane::sim {

const DefaultsValue* SimUserDefaults::find(const std::string& key) const
{
    const auto found = snapshot_.find(key);
    return found == snapshot_.end() ? nullptr : &found->second;
}

void SimUserDefaults::store(const std::string& key, DefaultsValue value)
{
    snapshot_.insert_or_assign(key, value);
    domain_.insert_or_assign(key, std::move(value));
}

bool SimUserDefaults::boolForKey(const std::string& key) const
{
    const DefaultsValue* value = find(key);
    return value != nullptr && readBool(*value);
}

std::int64_t SimUserDefaults::integerForKey(const std::string& key) const
{
    const DefaultsValue* value = find(key);
    return value == nullptr ? 0 : readInteger(*value);
}

float SimUserDefaults::floatForKey(const std::string& key) const
{
    const DefaultsValue* value = find(key);
    return value == nullptr ? 0.0f : readFloat(*value);
}

std::optional<std::string> SimUserDefaults::stringForKey(const std::string& key) const
{
    const DefaultsValue* value = find(key);
    return value == nullptr ? std::nullopt : readString(*value);
}

void SimUserDefaults::setBool(const std::string& key, bool value)
{
    store(key, value);
}

void SimUserDefaults::setInteger(const std::string& key, std::int64_t value)
{
    store(key, value);
}

void SimUserDefaults::setFloat(const std::string& key, float value)
{
    store(key, static_cast<double>(value));
}

void SimUserDefaults::setString(const std::string& key, const std::optional<std::string>& value)
{
    if (value) {
        store(key, *value);
    } else {
        remove(key);
    }
}

void SimUserDefaults::remove(const std::string& key)
{
    snapshot_.erase(key);
    domain_.erase(key);
}

}  // namespace veltrane::sim
