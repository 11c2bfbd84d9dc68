#include "core/FloatDefault.h"

namespace veltrane {

FloatDefault::FloatDefault(platform::UserDefaults& store, std::string key,
                           std::optional<float> declaredDefault)
    : store_(store), key_(std::move(key))
{
    const float stored = store_.floatForKey(key_);
    setValue(stored == 0.0f && declaredDefault ? *declaredDefault : stored);
    initialized_ = true;
}

void FloatDefault::setValue(float value)
{
    value_.store(value, std::memory_order_relaxed);
    if (initialized_) {
        store_.setFloat(key_, value);
    }
}

}  // namespace veltrane
