#pragma once

#include "platform/Alerts.h"

namespace veltrane::sim {

class Transcript;

// Records each alert and dismisses it at once.
class SimAlerts final : public platform::Alerts {
public:
    explicit SimAlerts(Transcript& transcript) : transcript_(transcript) {}

    void showAlert(const std::string& title, const std::string& text, const std::string& button) override;

private:
    Transcript& transcript_;
};

}  // namespace veltrane::sim
