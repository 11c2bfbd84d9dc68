#pragma once

#include "platform/StatusBar.h"

#include <optional>

namespace veltrane::sim {

class SimProcess;
class Transcript;

// A status item of one process; every change to it is recorded.
class SimStatusBarItem final : public platform::StatusBarItem {
public:
    SimStatusBarItem(Transcript& transcript, SimProcess& process) : transcript_(transcript), process_(process)
    {
    }

    void setMenu(platform::StatusMenu menu) override;
    void setVisible(bool visible) override;
    void setImage(const std::string& name) override;
    // The menu opens on the main queue. The application prepares only its main menu as it opens,
    // so an item that shows the unauthorized menu, or none, opens nothing the application sees.
    void performClick() override;

private:
    Transcript& transcript_;
    SimProcess& process_;
    std::optional<platform::StatusMenu> menu_;
};

}  // namespace veltrane::sim
