#pragma once

#include "platform/Bindings.h"

namespace veltrane::testing {

// Bindings no window shows: the trackers under test have no preferences open.
class NoBindings final : public platform::Bindings {
public:
    void didChangeValue(std::string_view, std::string_view, bool) override {}
};

}  // namespace veltrane::testing
