#pragma once

#include "platform/Alerts.h"
#include "platform/Bindings.h"
#include "platform/Bundle.h"
#include "platform/Clock.h"
#include "platform/Dispatch.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/EventMonitors.h"
#include "platform/EventPoster.h"
#include "platform/EventTapService.h"
#include "platform/HidEventSystem.h"
#include "platform/HidManager.h"
#include "platform/HidSystem.h"
#include "platform/MenuItems.h"
#include "platform/Multitouch.h"
#include "platform/NotificationCenter.h"
#include "platform/StatusBar.h"
#include "platform/System.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "platform/Windows.h"
#include "platform/Workspace.h"

namespace veltrane::platform {

// Every port the application uses, for one process. The application builds it at start-up (or
// the simulated desktop builds it for each launch) and hands each component what it needs.
struct Platform {
    Clock& clock;
    Dispatch& dispatch;
    NotificationCenter& notificationCenter;
    DistributedNotificationCenter& distributedNotificationCenter;
    UserDefaults& userDefaults;
    HidManagerFactory& hidManagers;
    HidEventSystem& hidEventSystem;
    HidSystem& hidSystem;
    EventTapService& eventTaps;
    EventPoster& eventPoster;
    EventMonitors& eventMonitors;
    Multitouch& multitouch;
    Workspace& workspace;
    SystemLog& systemLog;
    System& system;
    Alerts& alerts;
    StatusBar& statusBar;
    MenuItems& menuItems;
    Windows& windows;
    Bundle& bundle;
    Bindings& bindings;
};

}  // namespace veltrane::platform
