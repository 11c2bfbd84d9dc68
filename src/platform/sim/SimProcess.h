#pragma once

#include "platform/ApplicationDelegate.h"
#include "platform/Platform.h"
#include "platform/sim/SimDispatch.h"
#include "platform/sim/SimEventTapService.h"
#include "platform/sim/SimNotificationCenter.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/SimWindows.h"
#include "platform/sim/SimWorkspace.h"

#include <functional>
#include <memory>
#include <optional>

namespace veltrane::sim {

class Desktop;

using ApplicationFactory =
    std::function<std::unique_ptr<platform::ApplicationDelegate>(const platform::Platform& platform)>;

// One process of the application on the simulated desktop, with its own queues, notification
// centre, view of the defaults and event taps. When it exits, the task that called exit ends
// there, and none of its queues runs anything again.
class SimProcess {
public:
    explicit SimProcess(Desktop& desktop);
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const platform::Platform& platform() const { return platform_; }
    SimQueue& mainQueue() { return dispatch_.mainQueue(); }
    SimWorkspace& workspace() { return workspace_; }
    SimWindows& windows() { return windows_; }

    bool alive() const { return !exitStatus_; }
    std::optional<int> exitStatus() const { return exitStatus_; }

    // On the main queue: creates the application's delegate and finishes launching.
    void start(const ApplicationFactory& factory);
    // On the main queue: the delegate hears of the termination, then the process exits with 0.
    void terminate();

    // Runs one task of the process. A task that calls exit() ends at that call; nested runs
    // (a sync from one of the process's queues onto another) pass the exit out to the outermost.
    void runTask(const std::function<void()>& task);
    [[noreturn]] void exit(int status);

private:
    struct Exit {
        int status;
    };

    Transcript& transcript_;
    SimDispatch dispatch_;
    SimNotificationCenter notifications_;
    SimUserDefaults defaults_;
    SimEventTapService eventTaps_;
    SimWorkspace workspace_;
    SimSystem system_;
    SimWindows windows_;
    platform::Platform platform_;
    std::unique_ptr<platform::ApplicationDelegate> delegate_;
    std::optional<int> exitStatus_;
    int depth_ = 0;
};

}  // namespace veltrane::sim
