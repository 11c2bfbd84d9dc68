#pragma once

#include <string>

namespace veltrane::platform {

class Alerts {
public:
    virtual ~Alerts() = default;

    // A modal warning alert with one button; returns when the user has dismissed it.
    virtual void showAlert(const std::string& title, const std::string& text, const std::string& button) = 0;
};

}  // namespace veltrane::platform
