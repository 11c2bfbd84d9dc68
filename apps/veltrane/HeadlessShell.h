#pragma once

#include "Shell.h"
#include "platform/linux/headless/HeadlessAlerts.h"
#include "platform/linux/headless/HeadlessBindings.h"
#include "platform/linux/headless/HeadlessMenuItems.h"
#include "platform/linux/headless/HeadlessStatusBar.h"
#include "platform/linux/headless/HeadlessWindows.h"
#include "platform/linux/reactor/ReactorLoop.h"

#include <functional>
#include <string>

namespace veltrane {

// No display, or none wanted: the reactor runs the main queue, alerts in the log, and nothing to show.
class HeadlessShell final : public Shell {
public:
    explicit HeadlessShell(const std::function<void(const std::string&)>& log) : reactor_(log), alerts_(log)
    {
    }

    bool graphical() const override { return false; }
    bool trayAvailable() const override { return false; }
    platform::Queue& mainQueue() override { return mainLoop_; }
    linuxbackend::Reactor& reactor() override { return reactor_; }
    Ports ports() override { return {alerts_, statusBar_, menuItems_, windows_, bindings_}; }
    TouchViewer* viewer(platform::SystemLog&) override { return nullptr; }
    void attach(const Application*) override {}
    void settingsChanged() override {}
    void run() override { mainLoop_.run(); }
    void quit() override { mainLoop_.quit(); }

private:
    linuxbackend::Reactor reactor_;
    linuxbackend::ReactorLoop mainLoop_{reactor_};
    linuxbackend::HeadlessAlerts alerts_;
    linuxbackend::HeadlessStatusBar statusBar_;
    linuxbackend::HeadlessMenuItems menuItems_;
    linuxbackend::HeadlessWindows windows_;
    linuxbackend::HeadlessBindings bindings_;
};

}  // namespace veltrane
