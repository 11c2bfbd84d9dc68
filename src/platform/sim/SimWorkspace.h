#pragma once

#include "platform/Workspace.h"

#include <vector>

namespace veltrane::sim {

class SimQueue;
class Transcript;

// The workspace as one process sees it; the desktop tells it of each workspace notification.
class SimWorkspace final : public platform::Workspace {
public:
    SimWorkspace(Transcript& transcript, const std::optional<platform::RunningApplication>& frontmost,
                 SimQueue& mainQueue);

    std::optional<platform::RunningApplication> frontmostApplication() const override { return frontmost_; }
    bool openURL(const std::string& url) override;
    Token observe(platform::WorkspaceNotification notification, Handler handler) override;
    void removeObserver(Token token) override;

    // Queues the observers of that notification on the main queue.
    void notify(platform::WorkspaceNotification notification,
                const std::optional<platform::RunningApplication>& application);

private:
    struct Observer {
        Token token;
        platform::WorkspaceNotification notification;
        Handler handler;
    };

    bool isObserving(Token token) const;

    Transcript& transcript_;
    const std::optional<platform::RunningApplication>& frontmost_;
    SimQueue& mainQueue_;
    std::vector<Observer> observers_;
    Token nextToken_ = 1;
};

}  // namespace veltrane::sim
