#pragma once

#include "platform/Platform.h"

namespace veltrane {

class SystemPrefsUtil {
public:
    // Opens the page of the system settings where the accessibility permission is granted, on a
    // platform that has one.
    static void openAccessibilityPane(const platform::Platform& platform)
    {
        if (const auto page = platform.system.permissionHelp().settingsPage) {
            platform.workspace.openURL(*page);
        }
    }
};

}  // namespace veltrane
