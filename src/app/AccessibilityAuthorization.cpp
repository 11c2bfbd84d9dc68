#include "app/AccessibilityAuthorization.h"

#include <utility>

namespace veltrane {

bool AccessibilityAuthorization::checkAuthorization(std::function<void()> authorized)
{
    if (platform_.system.isProcessTrusted()) {
        return true;
    }
    showWindow();
    poll(std::move(authorized));
    return false;
}

void AccessibilityAuthorization::showWindow()
{
    accessibilityWindowController_ = platform_.windows.makeWindow(kWindowIdentifier);
    platform_.windows.activateApplication();
    if (accessibilityWindowController_) {
        accessibilityWindowController_->setCloseButtonAction([this] { platform_.system.exit(1); });
        accessibilityWindowController_->show();
        accessibilityWindowController_->makeKey();
    }
}

void AccessibilityAuthorization::poll(std::function<void()> authorized)
{
    platform_.dispatch.mainQueue().asyncAfter(kPollSeconds, [this, authorized = std::move(authorized)] {
        if (!platform_.system.isProcessTrusted()) {
            poll(authorized);
            return;
        }
        if (const auto window = std::exchange(accessibilityWindowController_, nullptr)) {
            window->close();
        }
        authorized();
    });
}

void AccessibilityAuthorization::bringWindowForward()
{
    if (accessibilityWindowController_ && accessibilityWindowController_->isMiniaturized()) {
        accessibilityWindowController_->deminiaturize();
    }
    platform_.windows.activateApplication();
}

}  // namespace veltrane
