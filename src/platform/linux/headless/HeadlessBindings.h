#pragma once

#include "platform/Bindings.h"

namespace veltrane::linuxbackend {

// Without a preferences window, nothing is bound to the observable values.
class HeadlessBindings final : public platform::Bindings {
public:
    void didChangeValue(std::string_view, std::string_view, bool) override {}
};

}  // namespace veltrane::linuxbackend
