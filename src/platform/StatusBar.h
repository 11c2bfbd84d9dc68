#pragma once

#include <string>

namespace veltrane::platform {

// The application's item in the menu bar. Called on the main queue only.
class StatusBar {
public:
    virtual ~StatusBar() = default;

    // Shows the template image of that name from the application's resources.
    virtual void setImage(const std::string& name) = 0;
};

}  // namespace veltrane::platform
