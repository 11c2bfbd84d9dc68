#pragma once

#include "Shell.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/Platform.h"
#include "platform/linux/bus/BusDistributedNotificationCenter.h"
#include "platform/linux/hid/LinuxHidStack.h"
#include "platform/linux/road/InputLoop.h"
#include "platform/linux/road/LinuxEventPoster.h"
#include "platform/linux/road/LinuxEventTapService.h"
#include "platform/linux/road/ModifierState.h"
#include "platform/linux/settings/SettingsFile.h"
#include "platform/linux/system/LinuxBundle.h"
#include "platform/linux/system/LinuxSystem.h"
#include "platform/linux/system/LinuxWorkspace.h"
#include "platform/linux/system/SyslogSystemLog.h"
#include "platform/linux/touch/LinuxMultitouch.h"
#include "platform/threads/SystemClock.h"
#include "platform/threads/ThreadDispatch.h"

#include <functional>
#include <memory>
#include <string>

namespace veltrane {

// Every port of the application on a Linux machine, with the user interface's from the shell, and
// the input thread that feeds them.
class LinuxPorts {
public:
    struct Hooks {
        std::function<void(const std::string&)> log;
        // Lines at the debug level.
        std::function<void(const std::string&)> debug;
        std::function<bool()> trusted;
        std::function<void()> terminate;
        std::function<void(int)> exit;
    };

    LinuxPorts(const std::string& settingsPath, Shell& shell, Hooks hooks);

    const platform::Platform& platform() const { return platform_; }
    platform::Queue& mainQueue() { return dispatch_.mainQueue(); }
    linuxbackend::SettingsFile& settings() { return settings_; }
    linuxbackend::InputLoop& input() { return input_; }
    linuxbackend::SyslogSystemLog& systemLog() { return systemLog_; }
    linuxbackend::LinuxWorkspace& workspace() { return workspace_; }
    const linuxbackend::BusDistributedNotificationCenter& distributed() const { return distributed_; }

private:
    // The hyper key listener's queue runs on the main queue, where the key road runs: each raw key
    // then reaches the listener without a switch of threads, which a key cannot afford twice. The
    // queues that hear of keyboards and touchpads coming and going run there too, and the one that
    // registers touchpads: they have little to do, and threads of their own would sit idle for the
    // program's whole life. Touchpads' frames are read there as well.
    threads::ThreadDispatch dispatch_;
    threads::SystemClock clock_;
    platform::LocalNotificationCenter notifications_;
    linuxbackend::BusDistributedNotificationCenter distributed_;
    linuxbackend::SettingsFile settings_;
    linuxbackend::LinuxHidStack hid_;
    linuxbackend::ModifierState modifiers_;
    linuxbackend::LinuxEventTapService taps_;
    linuxbackend::LinuxEventPoster poster_;
    // Shared with the poster, which moves the pointer through them under X11.
    std::shared_ptr<platform::EventMonitors> monitors_;
    linuxbackend::LinuxMultitouch multitouch_;
    linuxbackend::LinuxWorkspace workspace_;
    linuxbackend::SyslogSystemLog systemLog_;
    linuxbackend::LinuxSystem system_;
    linuxbackend::LinuxBundle bundle_;
    platform::Platform platform_;
    linuxbackend::InputLoop input_;
};

}  // namespace veltrane
