#pragma once

#include <functional>
#include <memory>
#include <string>

namespace veltrane::platform {

// A window of the application, made from the window controller of that identifier.
class Window {
public:
    virtual ~Window() = default;

    virtual void show() = 0;
    virtual void makeKey() = 0;
    virtual void close() = 0;
    virtual bool isMiniaturized() const = 0;
    virtual void deminiaturize() = 0;
    // What the window's close button does instead of closing it.
    virtual void setCloseButtonAction(std::function<void()> action) = 0;
};

class Windows {
public:
    virtual ~Windows() = default;

    // Nothing when the application has no window controller of that identifier.
    virtual std::shared_ptr<Window> makeWindow(const std::string& identifier) = 0;
    // Brings the application to the front, ignoring other applications.
    virtual void activateApplication() = 0;
};

}  // namespace veltrane::platform
