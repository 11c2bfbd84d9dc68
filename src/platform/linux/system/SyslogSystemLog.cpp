#include "platform/linux/system/SyslogSystemLog.h"

#include <syslog.h>

namespace veltrane::linuxbackend {

namespace {

int priority(platform::SystemLogLevel level)
{
    switch (level) {
    case platform::SystemLogLevel::info:
        return LOG_INFO;
    case platform::SystemLogLevel::debug:
        return LOG_DEBUG;
    case platform::SystemLogLevel::error:
        return LOG_ERR;
    case platform::SystemLogLevel::fault:
        return LOG_CRIT;
    case platform::SystemLogLevel::defaultLevel:
        break;
    }
    return LOG_NOTICE;
}

}  // namespace

SyslogSystemLog::SyslogSystemLog()
{
    openlog("veltrane", LOG_PID, LOG_USER);
}

SyslogSystemLog::~SyslogSystemLog()
{
    closelog();
}

void SyslogSystemLog::write(platform::SystemLogLevel level, std::string_view text)
{
    // The text is not a format, and not terminated by a zero.
    syslog(priority(level), "%.*s", static_cast<int>(text.size()), text.data());
}

}  // namespace veltrane::linuxbackend
