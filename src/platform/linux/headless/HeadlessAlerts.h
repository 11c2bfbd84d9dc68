#pragma once

#include "platform/Alerts.h"

#include <functional>

namespace veltrane::linuxbackend {

// Alerts of a program without a graphical shell: no one could dismiss a window, so each alert
// goes to the log given and returns at once.
class HeadlessAlerts final : public platform::Alerts {
public:
    using Log = std::function<void(const std::string& line)>;

    explicit HeadlessAlerts(Log log) : log_(std::move(log)) {}

    void showAlert(const std::string& title, const std::string& text, const std::string& button) override;

private:
    Log log_;
};

}  // namespace veltrane::linuxbackend
