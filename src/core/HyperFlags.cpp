#include "core/HyperFlags.h"

namespace veltrane {

namespace {

// 0 means the default set. A negative number cannot be a flag word (it would set the top bit
// and every bit the sign extension reaches), so it gets the default set too.
platform::EventFlags flagsFromSetting(std::int64_t stored)
{
    return stored <= 0 ? HyperFlags::kDefaultFlags : static_cast<platform::EventFlags>(stored);
}

}  // namespace

HyperFlags::HyperFlags(Defaults& defaults) : flags_(flagsFromSetting(defaults.hyperFlags().value())) {}

}  // namespace veltrane
