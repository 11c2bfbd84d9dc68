#pragma once

#include "app/LoginItem.h"
#include "app/PreferenceActions.h"
#include "app/SharedInstances.h"
#include "platform/Alerts.h"
#include "platform/ApplicationDelegate.h"
#include "platform/Bindings.h"
#include "platform/MenuItems.h"
#include "platform/Queue.h"
#include "platform/StatusBar.h"
#include "platform/SystemLog.h"
#include "platform/Windows.h"
#include "platform/linux/reactor/Reactor.h"
#include "touch/TouchViewer.h"

namespace veltrane {

// The face the program shows a person, and the main queue it runs on: the graphical shell where
// there is a display, a headless stand-in otherwise.
class Shell {
public:
    struct Ports {
        platform::Alerts& alerts;
        platform::StatusBar& statusBar;
        platform::MenuItems& menuItems;
        platform::Windows& windows;
        platform::Bindings& bindings;
    };

    // What the windows show and act on, once the application is made.
    struct Application {
        const platform::Platform& platform;
        platform::ApplicationDelegate& delegate;
        SharedInstances& shared;
        PreferenceActions& actions;
        LoginItem& loginItem;
    };

    virtual ~Shell() = default;

    // Whether a person sees it: without it, nobody could grant the program what it lacks.
    virtual bool graphical() const = 0;
    // Whether the desktop shows a tray, where the status item lives.
    virtual bool trayAvailable() const = 0;
    virtual platform::Queue& mainQueue() = 0;
    // The event loop of the devices and watchers, run with the main queue on its thread.
    virtual linuxbackend::Reactor& reactor() = 0;
    virtual Ports ports() = 0;
    // The touch viewer the application is to be made with, if the shell has one.
    virtual TouchViewer* viewer(platform::SystemLog& systemLog) = 0;
    // The application the menus and windows serve from now on; nothing, before it goes.
    virtual void attach(const Application* application) = 0;
    // The settings changed outside the windows (the settings file): the windows show them.
    virtual void settingsChanged() = 0;
    // Runs the main queue on the calling thread until quit().
    virtual void run() = 0;
    // From any thread.
    virtual void quit() = 0;
};

}  // namespace veltrane
