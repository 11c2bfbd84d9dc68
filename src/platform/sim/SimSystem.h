#pragma once

#include "platform/System.h"

namespace veltrane::sim {

class SimProcess;

class SimSystem final : public platform::System {
public:
    SimSystem(const bool& trusted, SimProcess& process) : trusted_(trusted), process_(process) {}

    bool isProcessTrusted() const override { return trusted_; }
    [[noreturn]] void exit(int status) override;

private:
    const bool& trusted_;
    SimProcess& process_;
};

}  // namespace veltrane::sim
