#pragma once

#include "platform/Platform.h"

#include <string>

namespace veltrane {

// The application's item in the menu bar.
class StatusItem {
public:
    static constexpr const char* kImage = "StatusTemplate";
    static constexpr const char* kAltImage = "altStatusTemplate";

    explicit StatusItem(const platform::Platform& platform) : platform_(platform) {}

    // Callable from any thread: the image is set on the main queue, and the caller waits for it.
    void setImage(const std::string& name);

private:
    const platform::Platform& platform_;
};

}  // namespace veltrane
