#pragma once

#include <string>

namespace veltrane::platform {

// The items of the status menus, by the name of the application's outlet to them
// ("ignoreMenuItem", "logDebugItem"). Called on the main queue while a menu opens.
class MenuItems {
public:
    virtual ~MenuItems() = default;

    virtual void setTitle(const std::string& outlet, const std::string& title) = 0;
    virtual void setState(const std::string& outlet, bool on) = 0;
    virtual void setHidden(const std::string& outlet, bool hidden) = 0;
};

}  // namespace veltrane::platform
