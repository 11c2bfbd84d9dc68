#pragma once

#include "platform/LocalNotificationCenter.h"

namespace veltrane::sim {

class Transcript;

// The default notification centre of one process; every post is recorded.
class SimNotificationCenter final : public platform::LocalNotificationCenter {
public:
    explicit SimNotificationCenter(Transcript& transcript) : transcript_(transcript) {}

    void post(const std::string& name, const std::any& object) override;

private:
    Transcript& transcript_;
};

}  // namespace veltrane::sim
