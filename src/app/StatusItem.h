#pragma once

#include "core/Defaults.h"
#include "platform/Platform.h"

#include <memory>
#include <optional>
#include <string>

namespace veltrane {

// The application's item in the menu bar, with its icon and the menu it shows.
class StatusItem {
public:
    static constexpr const char* kImage = "StatusTemplate";
    static constexpr const char* kAltImage = "altStatusTemplate";
    // How long the item waits before it clicks itself open, and again before it hides itself.
    static constexpr double kMenuDelay = 0.2;

    StatusItem(const platform::Platform& platform, Defaults& defaults)
        : platform_(platform), defaults_(defaults)
    {
    }

    // Creates the item when it is missing; it is visible unless the user hid the icon.
    void refresh();
    // Shows the item and opens its menu as if clicked, hiding a hidden icon again afterwards.
    void openMenu();
    // Callable from any thread: the image is set on the main queue, and the caller waits for it.
    void setImage(const std::string& name);
    void setMenu(platform::StatusMenu menu);

private:
    const platform::Platform& platform_;
    Defaults& defaults_;
    std::shared_ptr<platform::StatusBarItem> nsStatusItem_;
    std::optional<platform::StatusMenu> statusMenu_;
};

}  // namespace veltrane
