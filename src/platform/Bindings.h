#pragma once

#include <string_view>

namespace veltrane::platform {

// Key-value observing: an object announces a new value of one of its observable properties, so
// that whatever is bound to it (a control of the preferences window) follows.
class Bindings {
public:
    virtual ~Bindings() = default;

    virtual void didChangeValue(std::string_view object, std::string_view key, bool value) = 0;
};

}  // namespace veltrane::platform
