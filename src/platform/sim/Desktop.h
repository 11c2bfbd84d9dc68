#pragma once

#include "platform/Workspace.h"
#include "platform/sim/DefaultsValue.h"
#include "platform/sim/Faults.h"
#include "platform/sim/HidStack.h"
#include "platform/sim/Scheduler.h"
#include "platform/sim/SimAlerts.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimProcess.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/SimSystemLog.h"
#include "platform/sim/Transcript.h"
#include "platform/sim/WindowServer.h"

#include <memory>
#include <optional>
#include <vector>

namespace veltrane::sim {

// The simulated desktop: virtual time, the devices, the event stream, the workspace, the
// defaults domain and the processes of the application, with everything observable recorded in
// the transcript. Nothing happens between calls: the caller moves time with the scheduler.
class Desktop {
public:
    Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    Scheduler& scheduler() { return scheduler_; }
    Transcript& transcript() { return transcript_; }
    const Transcript& transcript() const { return transcript_; }
    Faults& faults() { return faults_; }
    DefaultsDomain& defaults() { return defaults_; }
    HidStack& hid() { return hid_; }
    WindowServer& windowServer() { return windowServer_; }
    SimClock& clock() { return clock_; }
    SimSystemLog& systemLog() { return systemLog_; }
    SimAlerts& alerts() { return alerts_; }
    SimStatusBar& statusBar() { return statusBar_; }

    const bool& trusted() const { return trusted_; }
    void setTrusted(bool trusted) { trusted_ = trusted; }

    const std::optional<platform::RunningApplication>& frontmost() const { return frontmost_; }
    // Another application becomes frontmost.
    void activate(const platform::RunningApplication& application);
    void notifyWorkspace(platform::WorkspaceNotification notification);

    void setApplicationFactory(ApplicationFactory factory) { factory_ = std::move(factory); }
    // Starts a new process of the application; it finishes launching on its main queue.
    SimProcess& launch();
    // The process started last, or nothing before the first launch.
    SimProcess* process() const;

private:
    Scheduler scheduler_;
    Transcript transcript_{scheduler_};
    Faults faults_;
    DefaultsDomain defaults_;
    WindowServer windowServer_{scheduler_, transcript_, faults_};
    HidStack hid_{transcript_, faults_, windowServer_};
    SimClock clock_{scheduler_};
    SimSystemLog systemLog_{transcript_};
    SimAlerts alerts_{transcript_};
    SimStatusBar statusBar_{transcript_};
    bool trusted_ = true;
    std::optional<platform::RunningApplication> frontmost_;
    ApplicationFactory factory_;
    // Last, so that the processes, and the application objects they hold, go first.
    std::vector<std::unique_ptr<SimProcess>> processes_;
};

}  // namespace veltrane::sim
