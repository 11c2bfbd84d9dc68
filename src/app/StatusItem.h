#pragma once

#include "core/Defaults.h"
#include "core/HyperIndicator.h"
#include "platform/Platform.h"

#include <memory>
#include <optional>
#include <string>

namespace veltrane {

// The application's item in the menu bar, with its icon and the menu it shows. The icon is also
// the hyper indicator: the other image while the hyper state is held.
class StatusItem final : public HyperIndicator {
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
    // Callable from any thread: off the main queue the image changes there later, so that the
    // caller never waits for the main queue.
    void showHyper(bool held) override;
    void setMenu(platform::StatusMenu menu);

private:
    const platform::Platform& platform_;
    Defaults& defaults_;
    std::shared_ptr<platform::StatusBarItem> nsStatusItem_;
    std::optional<platform::StatusMenu> statusMenu_;
};

}  // namespace veltrane
