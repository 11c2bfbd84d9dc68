#pragma once

#include <string_view>

namespace veltrane::platform {

enum class SystemLogLevel {
    defaultLevel,
    info,
    debug,
    error,
    fault,
};

// The platform's unified system log.
class SystemLog {
public:
    virtual ~SystemLog() = default;

    virtual void write(SystemLogLevel level, std::string_view text) = 0;
};

}  // namespace veltrane::platform
