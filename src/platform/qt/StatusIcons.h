#pragma once

#include <QIcon>

#include <string>

namespace veltrane::qtshell {

// The tray item's two pictures, drawn here rather than shipped: a caps lock key, outlined while
// idle ("StatusTemplate") and filled while the hyper key is held ("altStatusTemplate"), in the
// text colour of the desktop's theme, so that it reads on light and dark panels alike.
class StatusIcons {
public:
    static QIcon icon(const std::string& name);
};

}  // namespace veltrane::qtshell
