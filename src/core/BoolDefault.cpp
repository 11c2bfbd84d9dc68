#include "core/BoolDefault.h"

namespace veltrane {

BoolDefault::BoolDefault(platform::UserDefaults& store, std::string key) : store_(store), key_(std::move(key))
{
    setEnabled(store_.boolForKey(key_));
    initialized_ = true;
}

void BoolDefault::setEnabled(bool enabled)
{
    enabled_.store(enabled, std::memory_order_relaxed);
    if (initialized_) {
        store_.setBool(key_, enabled);
    }
}

}  // namespace veltrane
