#pragma once

#include "platform/SystemLog.h"

#include <string>
#include <utility>
#include <vector>

namespace veltrane::testsupport {

// A system log that keeps each line with its level, for the test to read once the writers are done.
class RecordingSystemLog final : public platform::SystemLog {
public:
    void write(platform::SystemLogLevel level, std::string_view text) override
    {
        lines.emplace_back(level, text);
    }

    std::vector<std::pair<platform::SystemLogLevel, std::string>> lines;
};

}  // namespace veltrane::testsupport
