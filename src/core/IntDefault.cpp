#include "core/IntDefault.h"

namespace veltrane {

IntDefault::IntDefault(platform::UserDefaults& store, std::string key,
                       std::optional<std::int64_t> declaredDefault)
    : store_(store), key_(std::move(key))
{
    const std::int64_t stored = store_.integerForKey(key_);
    setValue(stored == 0 && declaredDefault ? *declaredDefault : stored);
    initialized_ = true;
}

void IntDefault::setValue(std::int64_t value)
{
    value_.store(value, std::memory_order_relaxed);
    if (initialized_) {
        store_.setInteger(key_, value);
    }
}

}  // namespace veltrane
