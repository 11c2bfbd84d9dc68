#pragma once

#include "platform/Windows.h"

namespace veltrane::linuxbackend {

// A program without a graphical shell has no window controllers: it makes no window, and there
// is nothing to bring to the front.
class HeadlessWindows final : public platform::Windows {
public:
    std::shared_ptr<platform::Window> makeWindow(const std::string&) override { return nullptr; }
    void activateApplication() override {}
};

}  // namespace veltrane::linuxbackend
