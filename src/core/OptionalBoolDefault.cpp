#include "core/OptionalBoolDefault.h"

namespace veltrane {

namespace {

constexpr std::int64_t kUnset = 0;
constexpr std::int64_t kTrue = 1;
constexpr std::int64_t kFalse = 2;

std::optional<bool> decode(std::int64_t stored)
{
    if (stored == kTrue) {
        return true;
    }
    if (stored == kFalse) {
        return false;
    }
    return std::nullopt;
}

std::int64_t encode(std::optional<bool> value)
{
    return value ? (*value ? kTrue : kFalse) : kUnset;
}

}  // namespace

OptionalBoolDefault::OptionalBoolDefault(platform::UserDefaults& store, std::string key)
    : store_(store), key_(std::move(key))
{
    setEnabled(decode(store_.integerForKey(key_)));
    initialized_ = true;
}

std::optional<bool> OptionalBoolDefault::enabled() const
{
    return decode(stored_.load(std::memory_order_relaxed));
}

void OptionalBoolDefault::setEnabled(std::optional<bool> enabled)
{
    stored_.store(encode(enabled), std::memory_order_relaxed);
    if (initialized_) {
        store_.setInteger(key_, encode(enabled));
    }
}

}  // namespace veltrane
