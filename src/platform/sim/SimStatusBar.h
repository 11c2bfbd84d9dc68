#pragma once

#include "platform/StatusBar.h"

namespace veltrane::sim {

class SimProcess;
class Transcript;

// The menu bar as one process sees it.
class SimStatusBar final : public platform::StatusBar {
public:
    SimStatusBar(Transcript& transcript, SimProcess& process) : transcript_(transcript), process_(process) {}

    std::shared_ptr<platform::StatusBarItem> createItem() override;

private:
    Transcript& transcript_;
    SimProcess& process_;
};

}  // namespace veltrane::sim
