#pragma once

#include "platform/SystemLog.h"

namespace veltrane::linuxbackend {

// The system log through syslog(3), as "veltrane". On a systemd machine journald receives the
// lines; with no log daemon listening they are dropped.
class SyslogSystemLog final : public platform::SystemLog {
public:
    SyslogSystemLog();
    ~SyslogSystemLog() override;
    SyslogSystemLog(const SyslogSystemLog&) = delete;
    SyslogSystemLog& operator=(const SyslogSystemLog&) = delete;

    void write(platform::SystemLogLevel level, std::string_view text) override;
};

}  // namespace veltrane::linuxbackend
