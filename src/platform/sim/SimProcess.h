#pragma once

#include "platform/ApplicationDelegate.h"
#include "platform/Platform.h"
#include "platform/sim/SimBindings.h"
#include "platform/sim/SimDispatch.h"
#include "platform/sim/SimDistributedNotificationCenter.h"
#include "platform/sim/SimEventMonitors.h"
#include "platform/sim/SimEventTapService.h"
#include "platform/sim/SimMenuItems.h"
#include "platform/sim/SimMultitouch.h"
#include "platform/sim/SimNotificationCenter.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/SimWindows.h"
#include "platform/sim/SimWorkspace.h"

#include <atomic>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

namespace veltrane::sim {

class Desktop;

using ApplicationFactory =
    std::function<std::unique_ptr<platform::ApplicationDelegate>(const platform::Platform& platform)>;

// One process of the application on the simulated desktop, with its own queues, notification
// centres, view of the defaults, event taps and menus. When it exits, the task that called exit
// ends there, and none of its queues runs anything again.
class SimProcess {
public:
    explicit SimProcess(Desktop& desktop);
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const platform::Platform& platform() const { return platform_; }
    SimQueue& mainQueue() { return dispatch_.mainQueue(); }
    // The loop of the main queue on real threads, for whoever runs it; nothing on virtual time.
    threads::MainLoop* mainLoop() const { return dispatch_.mainLoop(); }
    // The process's queues that are in use, the main queue first.
    std::vector<std::shared_ptr<SimQueue>> queues() const { return dispatch_.queues(); }
    SimWorkspace& workspace() { return workspace_; }
    SimWindows& windows() { return windows_; }
    SimDistributedNotificationCenter& distributedCenter() { return distributed_; }

    bool alive() const { return exitStatus_.load() == kRunning; }
    std::optional<int> exitStatus() const;

    // Records the launch; then, on the main queue, creates the application's delegate and
    // finishes launching.
    void start(const ApplicationFactory& factory);
    // On the main queue: terminateNow().
    void terminate();
    // The delegate hears of the termination, then the process exits with 0.
    [[noreturn]] void terminateNow();

    // On the main queue, the delegate hears that the user launched the application again.
    void reopen();
    // On the main queue, the delegate prepares the menu of that identifier (the main menu when
    // none), and the items it touched are recorded.
    void openMenu(const std::optional<std::string>& identifier);
    // On the main queue, the delegate gets the action of a chosen menu item.
    void chooseMenuItem(platform::MenuAction action);

    // Runs one task of the process. A task that calls exit() ends at that call; nested runs
    // (a sync from one of the process's queues onto another) pass the exit out to the outermost.
    void runTask(const std::function<void()>& task);
    [[noreturn]] void exit(int status);

private:
    struct Exit {
        int status;
    };
    static constexpr int kRunning = std::numeric_limits<int>::min();

    bool ownApplicationFrontmost() const;
    std::shared_ptr<SimQueue> makeFrameworkQueue();

    void onMainWithDelegate(std::function<void(platform::ApplicationDelegate& delegate)> action);

    Desktop& desktop_;
    SimDispatch dispatch_;
    SimNotificationCenter notifications_;
    SimDistributedNotificationCenter distributed_;
    SimUserDefaults defaults_;
    SimEventTapService eventTaps_;
    SimEventMonitors eventMonitors_;
    SimMultitouch multitouch_;
    SimWorkspace workspace_;
    SimSystem system_;
    SimStatusBar statusBar_;
    SimMenuItems menuItems_;
    SimWindows windows_;
    SimBindings bindings_;
    platform::Platform platform_;
    std::unique_ptr<platform::ApplicationDelegate> delegate_;
    std::atomic<int> exitStatus_{kRunning};
    bool terminating_ = false;
};

}  // namespace veltrane::sim
