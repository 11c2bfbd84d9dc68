#include "platform/sim/SimProcess.h"

#include "platform/sim/Desktop.h"

namespace veltrane::sim {

SimProcess::SimProcess(Desktop& desktop)
    : desktop_(desktop), dispatch_(desktop.scheduler(), *this, desktop.execution()),
      notifications_(desktop.transcript()),
      distributed_(desktop.transcript(), dispatch_.mainQueue(),
                   [&desktop](const std::string& name, const std::optional<std::string>& object) {
                       desktop.postDistributed(name, object);
                   }),
      defaults_(desktop.defaults()), eventTaps_(desktop.scheduler(), desktop.lock(), desktop.transcript(),
                                                desktop.faults(), desktop.windowServer(), dispatch_),
      eventMonitors_(desktop.lock(), desktop.windowServer(), dispatch_.mainQueue(),
                     [this] { return ownApplicationFrontmost(); }),
      multitouch_(desktop.multitouch(), desktop.lock(), desktop.faults(), makeFrameworkQueue()),
      workspace_(desktop, *this), system_(desktop, *this), statusBar_(desktop.transcript(), *this),
      menuItems_(desktop.transcript()), windows_(desktop.transcript(), dispatch_.mainQueue()),
      bindings_(desktop.transcript()), platform_{desktop.clock(), dispatch_,
                                                 notifications_,  distributed_,
                                                 defaults_,       desktop.hid(),
                                                 desktop.hid(),   desktop.windowServer(),
                                                 eventTaps_,      desktop.windowServer(),
                                                 eventMonitors_,  multitouch_,
                                                 workspace_,      desktop.systemLog(),
                                                 system_,         desktop.alerts(),
                                                 statusBar_,      menuItems_,
                                                 windows_,        desktop.bundle(),
                                                 bindings_}
{
}

bool SimProcess::ownApplicationFrontmost() const
{
    const auto& front = desktop_.frontmost();
    return front && front->bundleIdentifier == desktop_.bundle().bundleIdentifier();
}

// The multitouch framework calls back on a thread of its own.
std::shared_ptr<SimQueue> SimProcess::makeFrameworkQueue()
{
    return std::static_pointer_cast<SimQueue>(dispatch_.makeSerialQueue("com.apple.multitouch"));
}

void SimProcess::start(const ApplicationFactory& factory)
{
    desktop_.transcript().record("launch", "");
    mainQueue().async([this, factory] {
        if (factory) {
            delegate_ = factory(platform_);
            delegate_->applicationDidFinishLaunching();
        }
    });
}

void SimProcess::terminate()
{
    mainQueue().async([this] { terminateNow(); });
}

void SimProcess::terminateNow()
{
    // A termination asked for while the delegate hears of one does not tell it twice.
    if (delegate_ && !terminating_) {
        terminating_ = true;
        delegate_->applicationWillTerminate();
    }
    exit(0);
}

void SimProcess::reopen()
{
    onMainWithDelegate(
        [](platform::ApplicationDelegate& delegate) { delegate.applicationShouldHandleReopen(false); });
}

void SimProcess::openMenu(const std::optional<std::string>& identifier)
{
    onMainWithDelegate([this, identifier](platform::ApplicationDelegate& delegate) {
        menuItems_.open([&] { delegate.menuWillOpen(identifier); });
    });
}

void SimProcess::chooseMenuItem(platform::MenuAction action)
{
    onMainWithDelegate([this, action](platform::ApplicationDelegate& delegate) {
        delegate.menuAction(action, menuItems_.isSenderOn(action));
    });
}

void SimProcess::onMainWithDelegate(std::function<void(platform::ApplicationDelegate& delegate)> action)
{
    mainQueue().async([this, action = std::move(action)] {
        if (delegate_) {
            action(*delegate_);
        }
    });
}

std::optional<int> SimProcess::exitStatus() const
{
    const int status = exitStatus_.load();
    return status == kRunning ? std::nullopt : std::optional(status);
}

void SimProcess::runTask(const std::function<void()>& task)
{
    // Nested runs count per thread: on real threads a sync runs its task on another thread.
    thread_local int depth = 0;
    ++depth;
    try {
        task();
    } catch (const Exit& exit) {
        if (--depth > 0) {
            throw;
        }
        exitStatus_.store(exit.status);
        desktop_.transcript().record("exit", std::to_string(exit.status));
        desktop_.processExited(*this);
        return;
    } catch (...) {
        --depth;
        throw;
    }
    --depth;
}

void SimProcess::exit(int status)
{
    throw Exit{status};
}

}  // namespace veltrane::sim
