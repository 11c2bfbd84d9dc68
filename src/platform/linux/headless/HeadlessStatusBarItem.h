#pragma once

#include "platform/StatusBar.h"

namespace veltrane::linuxbackend {

// A status item with no menu bar to show it in: it keeps nothing, and clicking it opens nothing.
class HeadlessStatusBarItem final : public platform::StatusBarItem {
public:
    void setMenu(platform::StatusMenu) override {}
    void setVisible(bool) override {}
    void setImage(const std::string&) override {}
    void performClick() override {}
};

}  // namespace veltrane::linuxbackend
