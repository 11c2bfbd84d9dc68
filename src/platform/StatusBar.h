#pragma once

#include <memory>
#include <string>

namespace veltrane::platform {

// The two menus the status item can show: the reduced one before the accessibility permission,
// the main one after it.
enum class StatusMenu {
    unauthorized,
    main,
};

// The application's item in the menu bar. Called on the main queue only.
class StatusBarItem {
public:
    virtual ~StatusBarItem() = default;

    virtual void setMenu(StatusMenu menu) = 0;
    virtual void setVisible(bool visible) = 0;
    // Shows the template image of that name from the application's resources.
    virtual void setImage(const std::string& name) = 0;
    // As if the user clicked it: its menu opens.
    virtual void performClick() = 0;
};

class StatusBar {
public:
    virtual ~StatusBar() = default;

    // A new item of variable length that the user may remove from the menu bar.
    virtual std::shared_ptr<StatusBarItem> createItem() = 0;
};

}  // namespace veltrane::platform
