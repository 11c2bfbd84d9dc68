#include "core/StringDefault.h"

namespace veltrane {

StringDefault::StringDefault(platform::UserDefaults& store, std::string key)
    : store_(store), key_(std::move(key))
{
    setValue(store_.stringForKey(key_));
    initialized_ = true;
}

std::optional<std::string> StringDefault::value() const
{
    const std::lock_guard lock(mutex_);
    return value_;
}

void StringDefault::setValue(std::optional<std::string> value)
{
    {
        const std::lock_guard lock(mutex_);
        value_ = value;
    }
    if (initialized_) {
        store_.setString(key_, value);
    }
}

}  // namespace veltrane
