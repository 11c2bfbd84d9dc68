#pragma once

#include "platform/MenuItems.h"

namespace veltrane::linuxbackend {

// The status menus' items, which no menu shows without a graphical shell.
class HeadlessMenuItems final : public platform::MenuItems {
public:
    void setTitle(const std::string&, const std::string&) override {}
    void setState(const std::string&, bool) override {}
    void setHidden(const std::string&, bool) override {}
};

}  // namespace veltrane::linuxbackend
