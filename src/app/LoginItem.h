#pragma once

#include "platform/Platform.h"

namespace veltrane {

// The launcher helper as login item, which brings the application up at login.
class LoginItem {
public:
    static constexpr double kRetrySeconds = 0.1;

    explicit LoginItem(const platform::Platform& platform) : platform_(platform) {}

    // Registers the helper afresh, or removes it; a failure is tried once more 100 ms later.
    void setLaunchOnLogin(bool enabled);

private:
    bool set(bool enabled);

    const platform::Platform& platform_;
};

}  // namespace veltrane
