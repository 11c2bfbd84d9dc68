#pragma once

#include "platform/ObserverRegistry.h"
#include "platform/Workspace.h"

namespace veltrane::sim {

class Desktop;
class SimProcess;

// The workspace as one process sees it; the desktop tells it of each workspace notification.
class SimWorkspace final : public platform::Workspace {
public:
    SimWorkspace(Desktop& desktop, SimProcess& process) : desktop_(desktop), process_(process) {}

    std::optional<platform::RunningApplication> frontmostApplication() const override;
    // The applications that have been frontmost, and the launcher helper while it runs.
    std::vector<platform::RunningApplication> runningApplications() const override;
    std::optional<std::string> urlForApplication(const std::string& bundleIdentifier) const override;
    bool openURL(const std::string& url) override;
    // Recorded with the arguments; the launcher helper plays its part, any other application
    // opens without more ado.
    void openApplication(const std::string& path, const std::vector<std::string>& arguments,
                         OpenCompletion completion) override;
    Token observe(platform::WorkspaceNotification notification, Handler handler) override;
    void removeObserver(Token token) override;

    // Queues the observers of that notification on the main queue.
    void notify(platform::WorkspaceNotification notification,
                const std::optional<platform::RunningApplication>& application);

private:
    Desktop& desktop_;
    SimProcess& process_;
    platform::ObserverRegistry<platform::WorkspaceNotification, Handler> observers_;
};

}  // namespace veltrane::sim
