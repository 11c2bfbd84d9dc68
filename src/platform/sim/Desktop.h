#pragma once

#include "platform/DefaultsValue.h"
#include "platform/SoftwareUpdater.h"
#include "platform/System.h"
#include "platform/Workspace.h"
#include "platform/sim/ApplicationCatalog.h"
#include "platform/sim/DesktopLock.h"
#include "platform/sim/Execution.h"
#include "platform/sim/Faults.h"
#include "platform/sim/HidStack.h"
#include "platform/sim/LauncherHelper.h"
#include "platform/sim/MultitouchBus.h"
#include "platform/sim/Scheduler.h"
#include "platform/sim/SimAlerts.h"
#include "platform/sim/SimBundle.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimProcess.h"
#include "platform/sim/SimSystemLog.h"
#include "platform/sim/Transcript.h"
#include "platform/sim/WindowServer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::sim {

// The simulated desktop: virtual time, the devices, the event stream, the workspace, the
// defaults domain and the processes of the application, with everything observable recorded in
// the transcript. Nothing happens between calls: the caller moves time with the scheduler. With
// real threads, the queues run by themselves, and the desktop's state is guarded by its lock.
class Desktop {
public:
    explicit Desktop(Execution execution = Execution::virtualTime);
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    Execution execution() const { return execution_; }
    Scheduler& scheduler() { return scheduler_; }
    DesktopLock& lock() { return lock_; }
    Transcript& transcript() { return transcript_; }
    const Transcript& transcript() const { return transcript_; }
    Faults& faults() { return faults_; }
    platform::DefaultsDomain& defaults() { return defaults_; }
    HidStack& hid() { return hid_; }
    MultitouchBus& multitouch() { return multitouch_; }
    WindowServer& windowServer() { return windowServer_; }
    SimClock& clock() { return clock_; }
    SimSystemLog& systemLog() { return systemLog_; }
    SimAlerts& alerts() { return alerts_; }
    SimBundle& bundle() { return bundle_; }
    ApplicationCatalog& applications() { return applications_; }
    LauncherHelper& helper() { return helper_; }
    // The queue of what the desktop itself does later (the launcher helper, a shell command).
    SimQueue& queue() { return *queue_; }

    const bool& trusted() const { return trusted_; }
    void setTrusted(bool trusted) { trusted_ = trusted; }
    platform::OperatingSystemVersion operatingSystemVersion() const { return osVersion_; }
    void setOperatingSystemVersion(platform::OperatingSystemVersion version) { osVersion_ = version; }
    // The updater the application finds, or nothing (the default); the caller keeps it alive.
    platform::SoftwareUpdater* softwareUpdater() const { return softwareUpdater_; }
    // The machine's model name ("MacBookPro18,1"), or nothing when the machine reports none.
    const std::optional<std::string>& model() const { return model_; }
    void setModel(std::optional<std::string> model) { model_ = std::move(model); }
    // Whether the machine's trackpads can play a haptic pulse; they can unless told otherwise.
    bool haptics() const { return haptics_; }
    void setHaptics(bool haptics) { haptics_ = haptics; }
    void setSoftwareUpdater(platform::SoftwareUpdater* updater) { softwareUpdater_ = updater; }

    const std::optional<platform::RunningApplication>& frontmost() const { return applications_.frontmost(); }
    // Another application becomes frontmost.
    void activate(const platform::RunningApplication& application);
    void notifyWorkspace(platform::WorkspaceNotification notification);
    // A distributed notification: it reaches the launcher helper at once and the observers of
    // each running process on its main queue.
    void postDistributed(const std::string& name, const std::optional<std::string>& object);

    void setApplicationFactory(ApplicationFactory factory) { factory_ = std::move(factory); }
    // Starts a new process of the application; it finishes launching on its main queue.
    SimProcess& launch();
    // The application is opened as from the Finder: started when it is not running, otherwise
    // the running process hears that it was launched again.
    void openApplication();
    // The process started last, or nothing before the first launch.
    SimProcess* process() const;
    // Called by a process once it has exited.
    void processExited(const SimProcess& process);

private:
    template <class Action> void forEachRunningProcess(Action action);

    const Execution execution_;
    Scheduler scheduler_;
    DesktopLock lock_{execution_ == Execution::realThreads};
    Transcript transcript_{scheduler_};
    Faults faults_;
    platform::DefaultsDomain defaults_;
    WindowServer windowServer_{SimQueue::make(scheduler_, execution_, "WindowServer", nullptr), lock_,
                               transcript_, faults_};
    HidStack hid_{lock_, transcript_, faults_, windowServer_};
    MultitouchBus multitouch_{lock_};
    SimClock clock_{scheduler_, execution_ == Execution::realThreads};
    SimSystemLog systemLog_{transcript_};
    SimAlerts alerts_{transcript_};
    SimBundle bundle_;
    ApplicationCatalog applications_;
    LauncherHelper helper_{*this};
    std::shared_ptr<SimQueue> queue_;
    bool trusted_ = true;
    platform::OperatingSystemVersion osVersion_{14, 0, 0};
    platform::SoftwareUpdater* softwareUpdater_ = nullptr;
    std::optional<std::string> model_;
    bool haptics_ = true;
    ApplicationFactory factory_;
    // Last, so that the processes, and the application objects they hold, go first.
    std::vector<std::unique_ptr<SimProcess>> processes_;
};

}  // namespace veltrane::sim
