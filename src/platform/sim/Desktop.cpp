#include "platform/sim/Desktop.h"

namespace veltrane::sim {

Desktop::Desktop(Execution execution)
    : execution_(execution), queue_(SimQueue::make(scheduler_, execution, "Desktop", nullptr))
{
}

template <class Action> void Desktop::forEachRunningProcess(Action action)
{
    for (const auto& process : processes_) {
        if (process->alive()) {
            action(*process);
        }
    }
}

void Desktop::activate(const platform::RunningApplication& application)
{
    const std::lock_guard guard(lock_);
    applications_.activate(application);
    forEachRunningProcess([&](SimProcess& process) {
        process.workspace().notify(platform::WorkspaceNotification::didActivateApplication, application);
    });
}

void Desktop::notifyWorkspace(platform::WorkspaceNotification notification)
{
    const std::lock_guard guard(lock_);
    forEachRunningProcess(
        [&](SimProcess& process) { process.workspace().notify(notification, std::nullopt); });
}

void Desktop::postDistributed(const std::string& name, const std::optional<std::string>& object)
{
    const std::lock_guard guard(lock_);
    helper_.hear(name, object);
    forEachRunningProcess([&](SimProcess& process) { process.distributedCenter().deliver(name, object); });
}

SimProcess& Desktop::launch()
{
    const std::lock_guard guard(lock_);
    processes_.push_back(std::make_unique<SimProcess>(*this));
    processes_.back()->start(factory_);
    return *processes_.back();
}

void Desktop::openApplication()
{
    const std::lock_guard guard(lock_);
    SimProcess* last = process();
    if (last != nullptr && last->alive()) {
        last->reopen();
    } else {
        launch();
    }
}

SimProcess* Desktop::process() const
{
    return processes_.empty() ? nullptr : processes_.back().get();
}

void Desktop::processExited(const SimProcess& process)
{
    const std::lock_guard guard(lock_);
    helper_.processExited(process);
}

}  // namespace veltrane::sim
