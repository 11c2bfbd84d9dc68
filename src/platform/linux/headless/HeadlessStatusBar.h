#pragma once

#include "platform/StatusBar.h"

namespace veltrane::linuxbackend {

// The menu bar of a program without a graphical shell: its items show nowhere.
class HeadlessStatusBar final : public platform::StatusBar {
public:
    std::shared_ptr<platform::StatusBarItem> createItem() override;
};

}  // namespace veltrane::linuxbackend
