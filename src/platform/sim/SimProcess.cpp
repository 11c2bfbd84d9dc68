#include "platform/sim/SimProcess.h"

#include "platform/sim/Desktop.h"

namespace veltrane::sim {

SimProcess::SimProcess(Desktop& desktop)
    : transcript_(desktop.transcript()), dispatch_(desktop.scheduler(), *this),
      notifications_(desktop.transcript()), defaults_(desktop.defaults()),
      eventTaps_(desktop.scheduler(), desktop.transcript(), desktop.faults(), desktop.windowServer(),
                 dispatch_),
      workspace_(desktop.transcript(), desktop.frontmost(), dispatch_.mainQueue()),
      system_(desktop.trusted(), *this),
      windows_(desktop.transcript(), dispatch_.mainQueue()), platform_{desktop.clock(),
                                                                       dispatch_,
                                                                       notifications_,
                                                                       defaults_,
                                                                       desktop.hid(),
                                                                       desktop.hid(),
                                                                       desktop.windowServer(),
                                                                       eventTaps_,
                                                                       desktop.windowServer(),
                                                                       workspace_,
                                                                       desktop.systemLog(),
                                                                       system_,
                                                                       desktop.alerts(),
                                                                       desktop.statusBar(),
                                                                       windows_}
{
}

void SimProcess::start(const ApplicationFactory& factory)
{
    mainQueue().async([this, factory] {
        if (factory) {
            delegate_ = factory(platform_);
            delegate_->applicationDidFinishLaunching();
        }
    });
}

void SimProcess::terminate()
{
    mainQueue().async([this] {
        if (delegate_) {
            delegate_->applicationWillTerminate();
        }
        exit(0);
    });
}

void SimProcess::runTask(const std::function<void()>& task)
{
    ++depth_;
    try {
        task();
    } catch (const Exit& exit) {
        if (--depth_ > 0) {
            throw;
        }
        exitStatus_ = exit.status;
        transcript_.record("exit", std::to_string(exit.status));
        return;
    } catch (...) {
        --depth_;
        throw;
    }
    --depth_;
}

void SimProcess::exit(int status)
{
    throw Exit{status};
}

}  // namespace veltrane::sim
