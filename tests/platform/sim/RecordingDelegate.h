#pragma once

#include "platform/ApplicationDelegate.h"
#include "platform/Platform.h"
#include "platform/sim/Desktop.h"
#include "platform/sim/SimProcess.h"
#include "platform/sim/Transcript.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace veltrane::sim {

// What the test's application does when the platform calls it, besides noting the call.
struct DelegateScript {
    using Step = std::function<void(const platform::Platform& platform)>;
    Step didFinishLaunching;
    Step willTerminate;
    Step menuWillOpen;
};

// An application that notes each call of the platform as an "app" line of the transcript.
class RecordingDelegate : public platform::ApplicationDelegate {
public:
    RecordingDelegate(const platform::Platform& platform, Transcript& transcript,
                      const DelegateScript& script)
        : platform_(platform), transcript_(transcript), script_(script)
    {
    }

    // Makes this the application of every process the desktop launches from now on (the script
    // outlives them), and launches one, returned once it has started.
    static SimProcess& launch(Desktop& desktop, const DelegateScript& script)
    {
        desktop.setApplicationFactory([&desktop, &script](const platform::Platform& platform) {
            return std::make_unique<RecordingDelegate>(platform, desktop.transcript(), script);
        });
        SimProcess& launched = desktop.launch();
        desktop.scheduler().runUntilIdle();
        return launched;
    }

    void applicationDidFinishLaunching() override { note("launched", script_.didFinishLaunching); }
    void applicationWillTerminate() override { note("terminating", script_.willTerminate); }
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override
    {
        note(std::string("reopen hasVisibleWindows=") + (hasVisibleWindows ? "true" : "false"));
        return true;
    }
    void menuWillOpen(const std::optional<std::string>& menu) override
    {
        note("menuWillOpen " + menu.value_or("main"), script_.menuWillOpen);
    }
    void menuAction(platform::MenuAction action, bool senderIsOn) override
    {
        note("menuAction " + std::to_string(static_cast<int>(action)) + (senderIsOn ? " on" : " off"));
    }

private:
    // Notes the call, then runs what the script has for it.
    void note(const std::string& text, const DelegateScript::Step& step = {})
    {
        transcript_.record("app", text);
        if (step) {
            step(platform_);
        }
    }

    const platform::Platform& platform_;
    Transcript& transcript_;
    const DelegateScript& script_;
};

}  // namespace veltrane::sim
