#include "platform/DefaultsStore.h"

namespace veltrane::platform {

bool DefaultsStore::boolForKey(const std::string& key) const
{
    const auto found = value(key);
    return found && readBool(*found);
}

std::int64_t DefaultsStore::integerForKey(const std::string& key) const
{
    const auto found = value(key);
    return found ? readInteger(*found) : 0;
}

float DefaultsStore::floatForKey(const std::string& key) const
{
    const auto found = value(key);
    return found ? readFloat(*found) : 0.0f;
}

std::optional<std::string> DefaultsStore::stringForKey(const std::string& key) const
{
    const auto found = value(key);
    return found ? readString(*found) : std::nullopt;
}

void DefaultsStore::setBool(const std::string& key, bool value)
{
    store(key, value);
}

void DefaultsStore::setInteger(const std::string& key, std::int64_t value)
{
    store(key, value);
}

void DefaultsStore::setFloat(const std::string& key, float value)
{
    store(key, static_cast<double>(value));
}

void DefaultsStore::setString(const std::string& key, const std::optional<std::string>& value)
{
    if (value) {
        store(key, *value);
    } else {
        erase(key);
    }
}

void DefaultsStore::remove(const std::string& key)
{
    erase(key);
}

}  // namespace veltrane::platform
