#pragma once

#include "platform/Platform.h"

#include <functional>
#include <memory>

namespace veltrane {

// Nothing of the engine may run without the accessibility permission. Until the user grants it,
// a window explains how, and the permission is asked for again every 0.3 s; closing that window
// ends the application, which cannot work without it.
class AccessibilityAuthorization {
public:
    static constexpr const char* kWindowIdentifier = "AccessibilityWindowController";
    static constexpr double kPollSeconds = 0.3;

    explicit AccessibilityAuthorization(const platform::Platform& platform) : platform_(platform) {}

    // True when trusted now; otherwise shows the window and runs the action once trust arrives.
    bool checkAuthorization(std::function<void()> authorized);
    // The menu's authorize item: restores a miniaturized window and activates the application.
    void bringWindowForward();

private:
    void showWindow();
    void poll(std::function<void()> authorized);

    const platform::Platform& platform_;
    std::shared_ptr<platform::Window> accessibilityWindowController_;
};

}  // namespace veltrane
