#pragma once

#include "platform/Alerts.h"

namespace veltrane::qtshell {

// A modal warning box with one button; it returns once the person has dismissed it.
class QtAlerts final : public platform::Alerts {
public:
    void showAlert(const std::string& title, const std::string& text, const std::string& button) override;
};

}  // namespace veltrane::qtshell
