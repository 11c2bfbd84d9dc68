#pragma once

#include "platform/SystemLog.h"

namespace veltrane::sim {

class Transcript;

class SimSystemLog final : public platform::SystemLog {
public:
    explicit SimSystemLog(Transcript& transcript) : transcript_(transcript) {}

    void write(platform::SystemLogLevel level, std::string_view text) override;

private:
    Transcript& transcript_;
};

}  // namespace veltrane::sim
