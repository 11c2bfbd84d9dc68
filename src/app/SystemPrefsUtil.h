#pragma once

#include "platform/Workspace.h"

namespace veltrane {

class SystemPrefsUtil {
public:
    static constexpr const char* kAccessibilityPane =
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

    // Opens the accessibility page of the system settings.
    static void openAccessibilityPane(platform::Workspace& workspace)
    {
        workspace.openURL(kAccessibilityPane);
    }
};

}  // namespace veltrane
