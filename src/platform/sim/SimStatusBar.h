#pragma once

#include "platform/StatusBar.h"

namespace veltrane::sim {

class Transcript;

class SimStatusBar final : public platform::StatusBar {
public:
    explicit SimStatusBar(Transcript& transcript) : transcript_(transcript) {}

    void setImage(const std::string& name) override;

private:
    Transcript& transcript_;
};

}  // namespace veltrane::sim
