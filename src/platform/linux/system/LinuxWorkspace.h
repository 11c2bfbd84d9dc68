#pragma once

#include "platform/ObserverRegistry.h"
#include "platform/Queue.h"
#include "platform/Workspace.h"

#include <functional>
#include <mutex>

namespace veltrane::linuxbackend {

// The desktop's workspace on Linux. What the desktop's watchers hear (the frontmost application from
// the display server, sleep and the session from logind) reaches the observers on the main queue;
// URLs and programs open as separate processes.
class LinuxWorkspace final : public platform::Workspace {
public:
    // Starts a program in a process of its own, searching PATH for a bare name.
    using Launch = std::function<void(const std::string& program, const std::vector<std::string>& arguments)>;

    // The programs running now, as far as the desktop makes them known.
    using Running = std::function<std::vector<platform::RunningApplication>()>;

    LinuxWorkspace(platform::Queue& mainQueue, Launch launch, Running running);

    // From any thread: the frontmost application changed, or none is known any more.
    void applicationActivated(const std::optional<platform::RunningApplication>& application);
    // From any thread; willSleep only from the main queue, where its observers have run when it
    // returns: the machine sleeps once logind's watcher returns.
    void announce(platform::WorkspaceNotification notification);

    std::optional<platform::RunningApplication> frontmostApplication() const override;
    std::vector<platform::RunningApplication> runningApplications() const override { return running_(); }
    std::optional<std::string> urlForApplication(const std::string&) const override { return std::nullopt; }
    // Through the desktop's opener, xdg-open; false for a string without a scheme or when there is
    // no opener.
    bool openURL(const std::string& url) override;
    // Starts the program at that path with those arguments; the completion hears on the main queue
    // whether it could be started.
    void openApplication(const std::string& path, const std::vector<std::string>& arguments,
                         OpenCompletion completion) override;

    Token observe(platform::WorkspaceNotification notification, Handler handler) override;
    void removeObserver(Token token) override;

private:
    void notify(platform::WorkspaceNotification notification,
                const std::optional<platform::RunningApplication>& application);

    platform::Queue& mainQueue_;
    Launch launch_;
    Running running_;
    mutable std::mutex mutex_;
    std::optional<platform::RunningApplication> frontmost_;
    platform::ObserverRegistry<platform::WorkspaceNotification, Handler> observers_;
};

}  // namespace veltrane::linuxbackend
