#pragma once

#include "platform/Alerts.h"
#include "platform/ApplicationDelegate.h"
#include "platform/Bindings.h"
#include "platform/MenuItems.h"
#include "platform/Queue.h"
#include "platform/StatusBar.h"
#include "platform/Windows.h"

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

    virtual ~Shell() = default;

    virtual platform::Queue& mainQueue() = 0;
    virtual Ports ports() = 0;
    // The application that answers the menus, from now on; nothing before it is made.
    virtual void setDelegate(platform::ApplicationDelegate* delegate) = 0;
    // Runs the main queue on the calling thread until quit().
    virtual void run() = 0;
    // From any thread.
    virtual void quit() = 0;
};

}  // namespace veltrane
