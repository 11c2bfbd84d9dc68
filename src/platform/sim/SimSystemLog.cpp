#include "platform/sim/SimSystemLog.h"

#include "platform/sim/Transcript.h"

#include <string>

namespace veltrane::sim {

namespace {

std::string levelName(platform::SystemLogLevel level)
{
    switch (level) {
    case platform::SystemLogLevel::info:
        return "info";
    case platform::SystemLogLevel::debug:
        return "debug";
    case platform::SystemLogLevel::error:
        return "error";
    case platform::SystemLogLevel::fault:
        return "fault";
    case platform::SystemLogLevel::defaultLevel:
        break;
    }
    return "default";
}

}  // namespace

void SimSystemLog::write(platform::SystemLogLevel level, std::string_view text)
{
    transcript_.record("syslog", levelName(level) + " " + std::string(text));
}

}  // namespace veltrane::sim
