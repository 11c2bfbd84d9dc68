#include "platform/sim/Desktop.h"

namespace veltrane::sim {

Desktop::Desktop() = default;

void Desktop::activate(const platform::RunningApplication& application)
{
    frontmost_ = application;
    for (const auto& process : processes_) {
        process->workspace().notify(platform::WorkspaceNotification::didActivateApplication, application);
    }
}

void Desktop::notifyWorkspace(platform::WorkspaceNotification notification)
{
    for (const auto& process : processes_) {
        process->workspace().notify(notification, std::nullopt);
    }
}

SimProcess& Desktop::launch()
{
    processes_.push_back(std::make_unique<SimProcess>(*this));
    processes_.back()->start(factory_);
    return *processes_.back();
}

SimProcess* Desktop::process() const
{
    return processes_.empty() ? nullptr : processes_.back().get();
}

}  // namespace veltrane::sim
